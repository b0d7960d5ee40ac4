// Renders every window and dialog in each of the nine languages to PNG
// files, for looking at clipped or overlapping texts: `make screenshots`.
#include "app/MainFrm.h"
#include "app/ProgramFont.h"
#include "dialogs/Captions.h"
#include "platform/TempFolder.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/WorkFolder.h"
#include "lang/LangText.h"
#include "ui_MainFrm.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

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

void Save(QWidget& widget, const QString& folder, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    widget.grab().save(folder + "/" + name + ".png");
    widget.hide();
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    UseProgramFont();
    const QString folder = argc > 1 ? argv[1] : "screenshots";
    QDir().mkpath(folder);
    g_sWorkDir = CreateWorkFolder(0);

    for (const TLanguage& language : LANGUAGES) {
        setenv("LC_ALL", language.Locale, 1);
        const QString prefix = language.Name;

        TfrmSetOutput setOutput;
        TfrmPassword password;
        TfrmMain main(&setOutput, &password);
        main.LoadLanguage();

        Save(setOutput, folder, prefix + "-SetOutput");
        setOutput.edExeFile->setText("/home/user/Downloads/protected-files.exe");
        setOutput.grab().save(folder + "/" + prefix + "-SetOutput-filled.png");
        Save(password, folder, prefix + "-Password");

        TfrmOverWrite overwrite;
        overwrite.ExistsFile = QString::fromStdString(GetSystemTempFolder()) + "a-rather-long-folder-name/report.txt";
        overwrite.NewFile = QString::fromStdString(g_sWorkDir) + "en.txt";
        Save(overwrite, folder, prefix + "-OverWrite");

        auto* controls = main.Controls();
        controls->lblFileName->setText(LangCaption("02000105"));
        controls->lblPercent->setText("100%");
        controls->pbTotal->setValue(64);
        controls->lblTotalSize->setText("1018.8 MB");
        controls->lblSpeed->setText("976.56 KB/s");
        controls->lblTime_Used->setText("01:02:03");
        controls->lblTime_Left->setText("100:00:00");
        main.adjustSize();
        Save(main, folder, prefix + "-Main");
        controls->btnPause->setText(LangCaption("02000C13"));
        Save(main, folder, prefix + "-Main-paused");
    }
    DeleteFolderTree(g_sWorkDir);
    return 0;
}
