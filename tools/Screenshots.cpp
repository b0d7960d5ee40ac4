// Renders every window, dialog and message box in each of the nine languages
// to PNG files, for looking at clipped or overlapping texts: `make screenshots`.
#include "app/MainFrm.h"
#include "app/ProgramFont.h"
#include "dialogs/Captions.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/WorkFolder.h"
#include "lang/LangText.h"
#include "platform/Paths.h"
#include "ui_MainFrm.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

struct TLanguage {
    const char* Name;
    const char* Locale;
};

const TLanguage LANGUAGES[] = {
    {"English", "en_US.UTF-8"},  {"Simplified", "zh_CN.UTF-8"}, {"Traditional", "zh_TW.UTF-8"},
    {"Deutsch", "de_DE.UTF-8"},  {"French", "fr_FR.UTF-8"},     {"Italian", "it_IT.UTF-8"},
    {"Japanese", "ja_JP.UTF-8"}, {"Portuguese", "pt_BR.UTF-8"}, {"Spanish", "es_ES.UTF-8"},
};

struct TMessage {
    const char* Name;
    const char* Key;
    QMessageBox::Icon Icon;
    QMessageBox::StandardButtons Buttons;
};

// Every message box of the program; "{0}" gets a long folder or error text.
const TMessage MESSAGES[] = {
    {"Message-NoOutputFolder", "02000881", QMessageBox::Information, QMessageBox::Ok},
    {"Message-BlankPassword", "02000B00", QMessageBox::Information, QMessageBox::Ok},
    {"Message-ConfirmCancel", "02000C30", QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel},
    {"Message-CannotCreateFolder", "02000603", QMessageBox::Warning, QMessageBox::Ok},
    {"Message-WrongPassword", "02000B10", QMessageBox::Warning, QMessageBox::Ok},
    {"Message-Failure", "02000D01", QMessageBox::Warning, QMessageBox::Ok},
};

const char* const SAMPLE_PLACEHOLDER = "/media/backup/Documents/recovered files/from the old laptop/";

// Offscreen windows have no frame. The bar a window manager would draw, at
// the window's width: the title is cut in the middle where it would be cut
// there, so a title that does not fit shows in the picture.
QPixmap WithTitleBar(const QWidget& widget, const QPixmap& window)
{
    const QFont font = TitleBarFont(widget.font());
    const int barHeight = QFontMetrics(font).height() + 8;
    const QSize size = window.deviceIndependentSize().toSize();
    QPixmap shot(QSize(size.width(), size.height() + barHeight) * window.devicePixelRatio());
    shot.setDevicePixelRatio(window.devicePixelRatio());
    QPainter painter(&shot);
    const QRect bar(0, 0, size.width(), barHeight);
    painter.fillRect(bar, QColor(0x4a, 0x6e, 0xa9));
    painter.setPen(Qt::white);
    painter.setFont(font);
    const int titleRoom = std::max(0, size.width() - TITLE_BAR_CONTROLS_WIDTH);
    const QString title = QFontMetrics(font).elidedText(widget.windowTitle(), Qt::ElideMiddle, titleRoom);
    painter.drawText(bar, Qt::AlignCenter, title);
    painter.drawPixmap(0, barHeight, window);
    return shot;
}

class TShots {
public:
    explicit TShots(const QString& folder) : FFolder(folder) {}

    // Grabs the widget as it is on screen, shown and laid out, under a
    // title bar of its width.
    void Save(QWidget& widget, const QString& name, bool keepShown = false)
    {
        widget.show();
        QApplication::processEvents();
        WithTitleBar(widget, widget.grab()).save(FFolder + "/" + FPrefix + "-" + name + ".png");
        if (!keepShown)
            widget.hide();
    }

    void SetLanguage(const TLanguage& language)
    {
        setenv("LC_ALL", language.Locale, 1);
        FPrefix = language.Name;
    }

private:
    QString FFolder;
    QString FPrefix;
};

void WriteSample(const std::string& path, size_t bytes)
{
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    UseProgramFont();
    const QString folder = argc > 1 ? argv[1] : "screenshots";
    QDir().mkpath(folder);
    g_sWorkDir = CreateWorkFolder(0);
    // Two real files, so the overwrite dialog shows both icons.
    const std::string existsFile = g_sWorkDir + "a rather long folder name/quarterly report.txt";
    const std::string newFile = g_sWorkDir + "staging/quarterly report.txt";
    ForceDirectories(ExtractFilePath(existsFile));
    ForceDirectories(ExtractFilePath(newFile));
    WriteSample(existsFile, 1234);
    WriteSample(newFile, 5678);

    TShots shots(folder);
    for (const TLanguage& language : LANGUAGES) {
        shots.SetLanguage(language);

        TfrmSetOutput setOutput;
        TfrmPassword password;
        TfrmMain main(&setOutput, &password);
        main.LoadLanguage();

        shots.Save(setOutput, "SetOutput", true);
        setOutput.edExeFile->setText("/media/backup/Downloads/protected-files.exe");
        shots.Save(setOutput, "SetOutput-filled");
        shots.Save(password, "Password");

        TfrmOverWrite overwrite;
        overwrite.ExistsFile = QString::fromStdString(existsFile);
        overwrite.NewFile = QString::fromStdString(newFile);
        shots.Save(overwrite, "OverWrite");

        auto* controls = main.Controls();
        controls->lblFileName->setText(LangCaption("02000105"));
        controls->lblPercent->setText("100%");
        controls->pbTotal->setValue(64);
        controls->lblTotalSize->setText("1018.8 MB");
        controls->lblSpeed->setText("976.56 KB/s");
        controls->lblTime_Used->setText("01:02:03");
        controls->lblTime_Left->setText("100:00:00");
        main.adjustSize();
        shots.Save(main, "Main");
        controls->btnPause->setText(LangCaption("02000C13"));
        shots.Save(main, "Main-paused");

        for (const TMessage& message : MESSAGES) {
            const QString text = QString::fromStdString(ReplacePlaceholder(LangText(message.Key), SAMPLE_PLACEHOLDER));
            const auto box = MakeMessage(nullptr, text, message.Icon, message.Buttons);
            shots.Save(*box, message.Name);
        }
    }
    DeleteFolderTree(g_sWorkDir);
    return 0;
}
