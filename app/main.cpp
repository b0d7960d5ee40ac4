// Program entry of the desktop program: one run per start.
#include "app/MainFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>

TfrmMain* frmMain = nullptr;
TfrmSetOutput* frmSetOutput = nullptr;
TfrmPassword* frmPassword = nullptr;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("varnhold-extract");
    QApplication::setWindowIcon(QIcon(":/varnhold-extract.png"));
    // The windows were designed for an 8-point sans font.
    QFont font("DejaVu Sans");
    font.setPointSize(8);
    QApplication::setFont(font);
    // The main window stays hidden while the dialogs are up; the program ends
    // when the run does, not when no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);

    TfrmSetOutput setOutput;
    TfrmPassword password;
    TfrmMain mainWindow(&setOutput, &password);
    frmMain = &mainWindow;
    frmSetOutput = &setOutput;
    frmPassword = &password;
    QObject::connect(&mainWindow, &TfrmMain::Ended, &application, &QApplication::quit, Qt::QueuedConnection);
    try {
        mainWindow.FormShow();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "varnhold-extract", QString::fromStdString(error.what()));
        return 1;
    }
    return application.exec();
}
