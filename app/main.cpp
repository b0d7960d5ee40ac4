// Program entry of the desktop program: one run per start.
#include "app/CommandLine.h"
#include "app/MainFrm.h"
#include "app/ProgramFont.h"
#include "app/QtTranslations.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/WorkFolder.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>

TfrmMain* frmMain = nullptr;
TfrmSetOutput* frmSetOutput = nullptr;
TfrmPassword* frmPassword = nullptr;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("varnhold-extract");
    QApplication::setWindowIcon(QIcon(":/varnhold-extract.png"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName("varnhold-extract");
    UseProgramFont();
    UseQtTranslations(QLocale(), &application);
    // The main window stays hidden while the dialogs are up; the program ends
    // when the run does, not when no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);

    TfrmSetOutput setOutput;
    setOutput.PresetExeFile(ExeFileFromArguments(QApplication::arguments()));
    TfrmPassword password;
    TfrmMain mainWindow(&setOutput, &password);
    frmMain = &mainWindow;
    frmSetOutput = &setOutput;
    frmPassword = &password;
    QObject::connect(&mainWindow, &TfrmMain::Ended, &application, &QApplication::quit, Qt::QueuedConnection);
    try {
        mainWindow.FormShow();
    } catch (const std::exception& error) {
        // No work folder, or the catalogue could not be written into it: no
        // catalogue text can be trusted, so the error speaks for itself. A
        // folder made before the failure goes, as on every other end.
        if (!g_sWorkDir.empty())
            DeleteFolderTree(g_sWorkDir);
        QMessageBox::critical(nullptr, "varnhold-extract", QString::fromStdString(error.what()));
        return 1;
    }
    return application.exec();
}
