#include "app/MainFrm.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/RunState.h"
#include "extract/WorkFolder.h"
#include "gui/ModalDriver.h"
#include "support/TestSupport.h"

#include <QCheckBox>
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

TEST_F(Dialogs, OverWriteAnswers)
{
    const std::pair<const char*, TOverwriteChoice> buttons[] = {
        {"btnYes", ocYes}, {"btnNo", ocNo}, {"btnYesAll", ocYesAll},
        {"btnNoAll", ocNoAll}, {"btnRename", ocRename}, {"btnCancel", ocCancel},
    };
    for (const auto& [name, choice] : buttons) {
        TfrmOverWrite dialog;
        dialog.show();
        Find<QPushButton>(dialog, name)->click();
        EXPECT_EQ(dialog.Choice, choice) << name;
        EXPECT_FALSE(dialog.isVisible());
    }
    TfrmOverWrite closed;
    closed.show();
    closed.Choice = ocNoAll;
    closed.close();
    EXPECT_EQ(closed.Choice, ocNoAll) << "the close box stores nothing";
    closed.show();
    closed.close();
    EXPECT_EQ(closed.Choice, ocYes) << "each showing starts at Yes";
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
