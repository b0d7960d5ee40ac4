#include "app/CommandLine.h"
#include "app/MainFrm.h"
#include "dialogs/Captions.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/RunState.h"
#include "extract/WorkFolder.h"
#include "platform/Paths.h"
#include "gui/ModalDriver.h"
#include "lang/LangText.h"
#include "gui/QStringPrinter.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        SaveResourceToFile("Lang_English", "FILE", Scratch / "en.txt");
        g_sLangFile = Scratch / "en.txt";
    }
    void TearDown() override { g_sLangFile.clear(); }

    template <class T>
    static T* Find(QWidget& parent, const char* name)
    {
        T* child = parent.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    TScratchFolder Scratch;
};

// The folder chooser answers from the test instead of the desktop.
class TScriptedSetOutput : public TfrmSetOutput {
public:
    QString Chosen;
    QString StartedAt;

protected:
    bool BrowseForFolder(const QString&, QString& folder) override
    {
        StartedAt = folder;
        folder = Chosen;
        return !Chosen.isEmpty();
    }
};

// The widgets Tab walks through, in order, starting at `first`.
std::vector<std::string> TabOrder(QWidget* first)
{
    std::vector<std::string> order;
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.push_back(widget->objectName().toStdString());
        widget = widget->nextInFocusChain();
    } while (widget && widget != first && order.size() < 20);
    return order;
}

TEST_F(Dialogs, TabOrdersForTheKeyboard)
{
    TfrmSetOutput setOutput;
    TfrmPassword password;
    TfrmOverWrite overwrite;
    TfrmMain main(&setOutput, &password);
    EXPECT_EQ(TabOrder(setOutput.findChild<QWidget*>("btnOK")),
              (std::vector<std::string>{"btnOK", "btnCancel", "edOutput", "btnBrowser", "edExeFile", "Button1"}));
    EXPECT_EQ(TabOrder(password.edPassword),
              (std::vector<std::string>{"edPassword", "btnOK", "btnCancel", "chkDisplayPassword"}));
    EXPECT_EQ(TabOrder(overwrite.findChild<QWidget*>("btnYes")),
              (std::vector<std::string>{"btnYes", "btnYesAll", "btnRename", "btnNo", "btnNoAll", "btnCancel"}));
    EXPECT_EQ(TabOrder(main.findChild<QWidget*>("btnHide")),
              (std::vector<std::string>{"btnHide", "btnPause", "btnCancel"}));
}

// What a key does in a dialog: Enter and Space act on the focused button only;
// Enter in an edit box or on the check box, and Escape anywhere, do nothing.
struct TKeyCase {
    const char* Dialog;
    const char* Focus;
    Qt::Key Key;
    const char* Outcome;  // "open", "accepted", "refused" or "choice N"
};

const TKeyCase KEY_CASES[] = {
    {"Password", "edPassword", Qt::Key_Return, "open"},
    {"Password", "edPassword", Qt::Key_Enter, "open"},
    {"Password", "edPassword", Qt::Key_Escape, "open"},
    {"Password", "chkDisplayPassword", Qt::Key_Return, "open"},
    {"Password", "btnOK", Qt::Key_Return, "accepted"},
    {"Password", "btnOK", Qt::Key_Space, "accepted"},
    {"Password", "btnCancel", Qt::Key_Enter, "refused"},
    {"Password", "btnCancel", Qt::Key_Escape, "open"},
    {"SetOutput", "edExeFile", Qt::Key_Return, "open"},
    {"SetOutput", "edOutput", Qt::Key_Return, "open"},
    {"SetOutput", "btnOK", Qt::Key_Return, "accepted"},
    {"SetOutput", "btnOK", Qt::Key_Space, "accepted"},
    {"SetOutput", "btnOK", Qt::Key_Escape, "open"},
    {"SetOutput", "btnCancel", Qt::Key_Space, "refused"},
    {"OverWrite", "btnYes", Qt::Key_Escape, "open"},
    {"OverWrite", "btnNoAll", Qt::Key_Return, "choice 3"},
    {"OverWrite", "btnRename", Qt::Key_Space, "choice 4"},
    {"OverWrite", "btnCancel", Qt::Key_Enter, "choice 5"},
};

TEST_F(Dialogs, KeysActOnlyOnTheFocusedButton)
{
    WriteTextFile(Scratch / "protected.exe", "x");
    for (const TKeyCase& row : KEY_CASES) {
        SCOPED_TRACE(std::string(row.Dialog) + " " + row.Focus + " key " + std::to_string(row.Key));
        TfrmPassword password;
        TfrmSetOutput setOutput;
        TfrmOverWrite overwrite;
        QDialog* dialog = &overwrite;
        if (std::string(row.Dialog) == "Password")
            dialog = &password;
        else if (std::string(row.Dialog) == "SetOutput")
            dialog = &setOutput;
        dialog->show();
        password.edPassword->setText("secret");
        setOutput.edExeFile->setText(QString::fromStdString(Scratch / "protected.exe"));
        QWidget* focus = Find<QWidget>(*dialog, row.Focus);
        focus->setFocus();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString() << " looks like Enter's target";
        QTest::keyClick(focus, row.Key);

        std::string outcome = "open";
        if (dialog == &overwrite && !dialog->isVisible())
            outcome = "choice " + std::to_string(overwrite.Choice);
        else if (!dialog->isVisible())
            outcome = (password.Accepted || setOutput.Accepted) ? "accepted" : "refused";
        EXPECT_EQ(outcome, row.Outcome);
    }
}

TEST_F(Dialogs, SetOutputAcceptsOnlyAnExistingFile)
{
    TScriptedSetOutput dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Extract");
    EXPECT_TRUE(dialog.edExeFile->text().isEmpty());
    EXPECT_TRUE(dialog.edOutput->text().endsWith('/'));
    auto* ok = Find<QPushButton>(dialog, "btnOK");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(QApplication::focusWidget() == ok || dialog.focusWidget() == ok, true) << "OK has the focus";

    WriteTextFile(Scratch / "archive.bin", "x");  // any extension will do
    for (const QString& path : {QString(), QString::fromStdString(Scratch.Path()),
                                QString::fromStdString(Scratch / "missing.exe")}) {
        dialog.edExeFile->setText(path);
        ok->click();
        EXPECT_FALSE(dialog.Accepted) << path.toStdString();
        EXPECT_TRUE(dialog.isVisible());
    }
    dialog.edExeFile->setText(QString::fromStdString(Scratch / "archive.bin"));
    ok->click();
    EXPECT_TRUE(dialog.Accepted);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    EXPECT_FALSE(dialog.Accepted) << "every showing starts unaccepted";
    Find<QPushButton>(dialog, "btnCancel")->click();
    EXPECT_FALSE(dialog.Accepted);
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.Accepted);
}

TEST_F(Dialogs, SetOutputFolderChooser)
{
    TScriptedSetOutput dialog;
    dialog.show();
    auto* browse = Find<QPushButton>(dialog, "btnBrowser");
    dialog.edOutput->setText("/somewhere/unchanged/");
    dialog.Chosen = "";  // cancelled
    browse->click();
    EXPECT_EQ(dialog.edOutput->text(), "/somewhere/unchanged/");
    EXPECT_EQ(dialog.StartedAt, "/somewhere/unchanged/");
    for (const auto& [chosen, shown] : {std::pair<QString, QString>{"/data/out", "/data/out/"},
                                        {"/data/out/", "/data/out/"}, {"/data/out//", "/data/out/"}, {"/", "/"}}) {
        dialog.Chosen = chosen;
        browse->click();
        EXPECT_EQ(dialog.edOutput->text(), shown) << chosen.toStdString();
    }
}

// The names the open file chooser lists in `folder`, once it has read it.
QStringList ListedNames(QFileDialog* chooser, const QString& folder, int expected)
{
    auto* model = chooser->findChild<QFileSystemModel*>();
    EXPECT_NE(model, nullptr);
    if (!model)
        return {};
    const QModelIndex parent = model->index(folder);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(parent) >= expected; }));
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names << model->index(row, 0, parent).data().toString();
    names.sort();
    return names;
}

TEST_F(Dialogs, SetOutputFileChooserListsExeFilesInAnyCase)
{
    const QString folder = QString::fromStdString(Scratch / "downloads");
    ForceDirectories(folder.toStdString());
    for (const char* name : {"a.exe", "B.EXE", "c.Exe", "d.exe.txt", "notes.txt", "exe"})
        WriteTextFile(folder.toStdString() + "/" + name, "x");

    TfrmSetOutput dialog;
    dialog.show();
    TModalDriver driver;
    QStringList listed;
    QString filterShown;
    driver.Then([&](QWidget* widget) {
        auto* chooser = qobject_cast<QFileDialog*>(widget);
        if (!chooser)
            return false;
        chooser->setDirectory(folder);
        listed = ListedNames(chooser, folder, 3);
        if (auto* combo = chooser->findChild<QComboBox*>("fileTypeCombo"))
            filterShown = combo->currentText();
        if (auto* name = chooser->findChild<QLineEdit*>("fileNameEdit")) {
            name->clear();
            QTest::keyClicks(name, "B.EXE");
        }
        static_cast<QDialog*>(chooser)->accept();  // as the Open button does
        return true;
    });
    Find<QPushButton>(dialog, "Button1")->click();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(listed, QStringList({"B.EXE", "a.exe", "c.Exe"}));
    EXPECT_EQ(filterShown, "Exe File");
    EXPECT_EQ(dialog.edExeFile->text(), folder + "/B.EXE");

    driver.Then([](QWidget* widget) {
        auto* chooser = qobject_cast<QFileDialog*>(widget);
        if (chooser)
            chooser->reject();
        return chooser != nullptr;
    });
    Find<QPushButton>(dialog, "Button1")->click();
    EXPECT_EQ(dialog.edExeFile->text(), folder + "/B.EXE") << "a cancelled choice changes nothing";
    EXPECT_TRUE(driver.Unexpected.empty()) << driver.Unexpected.front();
}

TEST_F(Dialogs, SetOutputFolderChooserStartsAtTheOutputFolder)
{
    const QString start = QString::fromStdString(Scratch / "start");
    const QString chosen = QString::fromStdString(Scratch / "chosen");
    ForceDirectories(start.toStdString());
    ForceDirectories(chosen.toStdString());

    TfrmSetOutput dialog;
    dialog.show();
    dialog.edOutput->setText(start + "/");
    TModalDriver driver;
    QString title, startedAt;
    driver.Then([&](QWidget* widget) {
        auto* chooser = qobject_cast<QFileDialog*>(widget);
        if (!chooser)
            return false;
        title = chooser->windowTitle();
        startedAt = chooser->directory().absolutePath();
        chooser->setDirectory(chosen);
        static_cast<QDialog*>(chooser)->accept();  // as the Open or Choose button does
        return true;
    });
    Find<QPushButton>(dialog, "btnBrowser")->click();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(title, "Select destination folder.");
    EXPECT_EQ(startedAt, start);
    EXPECT_EQ(dialog.edOutput->text(), chosen + "/") << "exactly one final slash";
    EXPECT_TRUE(driver.Unexpected.empty());
}

TEST_F(Dialogs, SetOutputStartsWithTheFileTheProgramWasGiven)
{
    WriteTextFile(Scratch / "given.exe", "x");
    const QString given = QString::fromStdString(Scratch / "given.exe");
    TfrmSetOutput dialog;
    dialog.PresetExeFile(given);
    dialog.show();
    EXPECT_EQ(dialog.edExeFile->text(), given);
    EXPECT_EQ(dialog.edOutput->text(), DefaultOutputFolder(GetProgramFolder(), given));
    Find<QPushButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(dialog.Accepted);

    dialog.show();
    EXPECT_TRUE(dialog.edExeFile->text().isEmpty()) << "only the first showing starts with the file";
    dialog.close();
}

TEST_F(Dialogs, SetOutputKeepsTheFieldsWhenItComesBack)
{
    TfrmSetOutput dialog;
    dialog.show();
    dialog.edExeFile->setText("Downloads/typed.exe");
    dialog.edOutput->setText("  ");
    dialog.close();
    dialog.KeepFieldsOnNextShow();
    dialog.show();
    EXPECT_EQ(dialog.edExeFile->text(), "Downloads/typed.exe");
    EXPECT_EQ(dialog.edOutput->text(), "  ");
    EXPECT_FALSE(dialog.Accepted);
    dialog.close();
    dialog.show();
    EXPECT_TRUE(dialog.edExeFile->text().isEmpty()) << "kept for one showing only";
    dialog.close();
}

TEST_F(Dialogs, DefaultOutputFolder)
{
    const std::string program = Scratch / "program/";
    const std::string downloads = Scratch / "downloads/";
    ForceDirectories(program);
    ForceDirectories(downloads);
    const std::string missing = Scratch / "missing/";  // nobody may write in it
    const QString home = QDir::homePath() + (QDir::homePath().endsWith('/') ? "" : "/");
    const QString exe = QString::fromStdString(downloads + "protected.exe");
    const QString exeInMissing = QString::fromStdString(missing + "protected.exe");
    struct TRow {
        std::string Program;
        QString ExeFile;
        QString Expected;
    };
    const TRow rows[] = {
        {program, QString(), QString::fromStdString(program)},
        {program, exe, QString::fromStdString(program)},
        {Scratch / "program", exe, QString::fromStdString(program)},  // the final slash is added
        {missing, QString(), home},
        {missing, exe, QString::fromStdString(downloads)},
        {missing, exeInMissing, home},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(DefaultOutputFolder(row.Program, row.ExeFile), row.Expected)
            << row.Program << " " << row.ExeFile.toStdString();
}

TEST_F(Dialogs, SetOutputOutputFolderFollowsOnlyItsOwnProposal)
{
    WriteTextFile(Scratch / "protected.exe", "x");
    const QString exe = QString::fromStdString(Scratch / "protected.exe");
    TfrmSetOutput dialog;
    dialog.show();
    const QString proposed = dialog.edOutput->text();
    dialog.UseExeFile(exe);
    EXPECT_EQ(dialog.edExeFile->text(), exe);
    EXPECT_EQ(dialog.edOutput->text(), DefaultOutputFolder(GetProgramFolder(), exe));
    dialog.edOutput->setText("/data/mine/");
    dialog.UseExeFile(exe);
    EXPECT_EQ(dialog.edOutput->text(), "/data/mine/") << "a folder the user typed stays";
    dialog.close();
    EXPECT_FALSE(proposed.isEmpty());
}

// What a drop on the dialog does: one local file fills "Exe File"; anything
// else is refused and changes nothing.
TEST_F(Dialogs, SetOutputTakesADroppedFile)
{
    WriteTextFile(Scratch / "protected file.exe", "x");
    WriteTextFile(Scratch / "other.exe", "x");
    const QString file = QString::fromStdString(Scratch / "protected file.exe");
    struct TRow {
        const char* Name;
        QList<QUrl> Urls;
        QString Filled;  // empty: refused
    };
    const TRow rows[] = {
        {"one file", {QUrl::fromLocalFile(file)}, file},
        {"a folder", {QUrl::fromLocalFile(QString::fromStdString(Scratch.Path()))}, QString()},
        {"a missing file", {QUrl::fromLocalFile(QString::fromStdString(Scratch / "missing.exe"))}, QString()},
        {"a remote file", {QUrl("https://example.org/protected.exe")}, QString()},
        {"two files", {QUrl::fromLocalFile(file), QUrl::fromLocalFile(QString::fromStdString(Scratch / "other.exe"))},
         QString()},
        {"no address", {}, QString()},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TfrmSetOutput dialog;
        dialog.show();
        dialog.edExeFile->setText("before");
        QMimeData data;
        data.setUrls(row.Urls);
        if (row.Urls.isEmpty())
            data.setText("just some text");
        QWidget* target = dialog.edExeFile;  // dropped on the edit box itself
        const QPoint at = target->mapTo(&dialog, target->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &enter);
        EXPECT_EQ(enter.isAccepted(), !row.Filled.isEmpty());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &drop);
        EXPECT_EQ(dialog.edExeFile->text(), row.Filled.isEmpty() ? QString("before") : row.Filled);
        EXPECT_FALSE(target->acceptDrops()) << "the edit box would paste the address as text";
        dialog.close();
    }
}

TEST_F(Dialogs, FileArgument)
{
    const QString here = QDir::currentPath();
    struct TRow {
        QStringList Arguments;
        QString Expected;
    };
    const TRow rows[] = {
        {{"varnhold-extract"}, QString()},
        {{"varnhold-extract", ""}, QString()},
        {{"varnhold-extract", "/media/usb/protected.exe"}, "/media/usb/protected.exe"},
        {{"varnhold-extract", "protected.exe"}, here + "/protected.exe"},
        {{"varnhold-extract", "../x/../protected.exe"}, QDir::cleanPath(here + "/..") + "/protected.exe"},
        {{"varnhold-extract", "file:///media/usb/my%20files/protected.exe"}, "/media/usb/my files/protected.exe"},
        {{"varnhold-extract", "/a.exe", "/b.exe"}, "/a.exe"},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(ExeFileFromArguments(row.Arguments), row.Expected) << row.Arguments.join(' ').toStdString();
}

TEST_F(Dialogs, PasswordRefusesOnlyABlankOne)
{
    TfrmPassword dialog;
    TModalDriver driver;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Enter password");
    auto* ok = Find<QPushButton>(dialog, "btnOK");
    for (const QString& blank : {QString(), QString("   "), QString(" \t ")}) {
        dialog.edPassword->setText(blank);
        driver.ThenMessage(QMessageBox::Ok);
        ok->click();
        EXPECT_FALSE(dialog.Accepted);
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(driver.Messages, std::vector<std::string>(3, "Enter password"));
    EXPECT_EQ(driver.Captions, std::vector<std::string>(3, "Varnhold Configuration"));

    dialog.edPassword->setText("  pass word  ");
    ok->click();
    EXPECT_TRUE(dialog.Accepted);
    EXPECT_EQ(dialog.edPassword->text(), "  pass word  ") << "the caller receives the blanks";
    EXPECT_TRUE(driver.Unexpected.empty());
}

TEST_F(Dialogs, MessageBoxesSpeakTheCataloguesLanguage)
{
    SaveResourceToFile("Lang_Italian", "FILE", g_sLangFile);
    TModalDriver driver;
    driver.ThenMessage(QMessageBox::Cancel);
    EXPECT_EQ(ShowMessage(nullptr, "?", QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel),
              QMessageBox::Cancel);
    EXPECT_EQ(driver.Captions, std::vector<std::string>{LangText("01000000")});
    EXPECT_EQ(driver.Buttons, std::vector<std::string>{LangText("02000702") + "|" + LangText("02000710")});
    EXPECT_EQ(driver.Buttons[0], "Conferma|Cancella");
}

TEST_F(Dialogs, PasswordShowToggle)
{
    TfrmPassword dialog;
    dialog.show();
    dialog.edPassword->setText("secret");
    EXPECT_EQ(dialog.edPassword->echoMode(), QLineEdit::Password);
    dialog.chkDisplayPassword->click();
    EXPECT_EQ(dialog.edPassword->echoMode(), QLineEdit::Normal);
    dialog.chkDisplayPassword->click();
    EXPECT_EQ(dialog.edPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.edPassword->text(), "secret");
    dialog.close();
    EXPECT_FALSE(dialog.Accepted);
}

// Every way the overwrite question can end, and the answer it gives.
struct TOverWriteEnd {
    const char* Way;  // a button's name, or "frame close"
    TOverwriteChoice Expected;
};

const TOverWriteEnd OVERWRITE_ENDS[] = {
    {"btnYes", ocYes},       {"btnNo", ocNo},         {"btnYesAll", ocYesAll},    {"btnNoAll", ocNoAll},
    {"btnRename", ocRename}, {"btnCancel", ocCancel}, {"frame close", ocCancel},
};

TEST_F(Dialogs, OverWriteAnswers)
{
    for (const TOverWriteEnd& row : OVERWRITE_ENDS) {
        SCOPED_TRACE(row.Way);
        TfrmOverWrite dialog;
        dialog.Choice = ocNoAll;  // left over: every showing starts afresh
        TModalDriver driver;
        driver.Then([&](QWidget* widget) {
            if (widget != &dialog)
                return false;
            if (std::string(row.Way) == "frame close") {
                // What the window manager's close box sends to the window.
                QCloseEvent close;
                QApplication::sendEvent(dialog.windowHandle(), &close);
            } else {
                Find<QPushButton>(dialog, row.Way)->click();
            }
            return true;
        });
        dialog.exec();
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.Choice, row.Expected);
    }
}

TEST_F(Dialogs, OverWriteShowsSizesAndTimes)
{
    WriteTextFile(Scratch / "exists.txt", std::string(1234, 'e'));
    ASSERT_EQ(RunProgram({"touch", "-d", "2021-06-15 14:39:57", Scratch / "exists.txt"}), 0);
    TfrmOverWrite dialog;
    dialog.ExistsFile = QString::fromStdString(Scratch / "exists.txt");
    dialog.NewFile = QString::fromStdString(Scratch / "missing.txt");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Confirm File Replace");
    EXPECT_EQ(Find<QLabel>(dialog, "lblFile")->text(), dialog.ExistsFile);
    EXPECT_EQ(Find<QLabel>(dialog, "lblExistsFile_Size")->text(), "1234 bytes");
    EXPECT_EQ(Find<QLabel>(dialog, "lblExistsFile_Time")->text(), "modified on: 2021-06-15 14:39:56");
    EXPECT_EQ(Find<QLabel>(dialog, "lblNewFile_Size")->text(), "0 bytes");
    EXPECT_EQ(Find<QLabel>(dialog, "lblNewFile_Time")->text(), "modified on: 1899-12-30 00:00:00");
    EXPECT_FALSE(Find<QLabel>(dialog, "imgExists")->pixmap().isNull());
    dialog.close();
}

TEST_F(Dialogs, FileSizeBeyondFourGiB)
{
    const std::string big = Scratch / "big.bin";
    WriteTextFile(big, "");
    ASSERT_EQ(truncate(big.c_str(), 5000000000LL), 0);  // sparse: no disk needed
    EXPECT_EQ(FileSizeOf(QString::fromStdString(big)), 5000000000LL);
}

}  // namespace
