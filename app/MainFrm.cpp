#include "app/MainFrm.h"
#include "ui_MainFrm.h"

#include "dialogs/Captions.h"
#include "dialogs/FitToTexts.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/Progress.h"
#include "extract/RunPreparation.h"
#include "extract/WorkFolder.h"
#include "lang/FailureText.h"
#include "lang/LangText.h"
#include "platform/PauseGate.h"

#include <QLayout>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

namespace {

constexpr int START_DELAY_MS = 50;
constexpr int PROGRESS_INTERVAL_MS = 1000;
constexpr int END_DELAY_MS = 1000;

std::string DecimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

}  // namespace

TfrmMain::TfrmMain(TfrmSetOutput* setOutput, TfrmPassword* password)
    : ui(new Ui::TfrmMain), frmSetOutput(setOutput), frmPassword(password)
{
    ui->setupUi(this);
    // Fixed size, grown to whatever a translation needs so no text is cut.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(START_DELAY_MS);
    TimerProcess = new QTimer(this);
    TimerProcess->setObjectName("TimerProcess");
    TimerProcess->setInterval(PROGRESS_INTERVAL_MS);
    TrayIcon1 = new QSystemTrayIcon(this);
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
    connect(TimerProcess, &QTimer::timeout, this, &TfrmMain::TimerProcessTimer);
    connect(ui->btnPause, &QPushButton::clicked, this, &TfrmMain::btnPauseClick);
    connect(ui->btnHide, &QPushButton::clicked, this, &TfrmMain::btnHideClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmMain::btnCancelClick);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, &TfrmMain::TrayIcon1Click);
}

TfrmMain::~TfrmMain()
{
    // The worker must not outlive the window it reports to.
    if (Worker) {
        Worker->Cancel();
        Worker.reset();
    }
}

void TfrmMain::FormShow()
{
    PrepareWorkFolder();  // the work folder and the catalogue that LoadLanguage reads
    LoadLanguage();
    Worker.reset();
    Settings.DllFile = LibraryFileIn(g_sWorkDir);
    SetFlag(g_bCancel, false);
    TrayIcon1->setIcon(QApplication::windowIcon());
    Settings.ElapsedSeconds = 0;
    Timer1->start();
}

void TfrmMain::LoadLanguage()
{
    setWindowTitle(LangCaption("02000800"));
    ui->btnHide->setText(LangCaption("02000C10"));
    ui->btnPause->setText(LangCaption("02000C12"));
    ui->btnCancel->setText(LangCaption("02000710"));
    ui->lblTotalSize_Tip->setText(LangCaption("02000C03"));
    ui->lblSpeed_Tip->setText(LangCaption("02000C04"));
    ui->lblTime_Used_Tip->setText(LangCaption("02000C01"));
    ui->lblTime_Left_Tip->setText(LangCaption("02000C02"));
}

void TfrmMain::Timer1Timer()
{
    Timer1->stop();
    for (;;) {
        frmSetOutput->exec();
        if (!frmSetOutput->Accepted) {
            EndProgram();
            return;
        }
        Settings.OutputDir = frmSetOutput->edOutput->text().toStdString();
        Settings.ExeFile = frmSetOutput->edExeFile->text().toStdString();
        if (!IsBlank(Settings.OutputDir))
            break;
        // A blank output folder: the dialog comes back as the user left it
        // and says why over itself, where the user is looking (this window
        // is not on screen yet).
        frmSetOutput->KeepFieldsOnNextShow();
        QTimer::singleShot(0, frmSetOutput, [this] {
            ShowMessage(frmSetOutput, LangCaption("02000881"), QMessageBox::Information);
        });
    }
    frmPassword->exec();
    if (!frmPassword->Accepted) {
        EndProgram();
        return;
    }
    ui->lblPercent->setText("0%");
    ui->lblSpeed->clear();
    ui->lblFileName->setText(LangCaption("02000105"));
    FitToTexts(*this);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    Settings.PasswordText = frmPassword->edPassword->text().toStdString();
    Worker = std::make_unique<TThreaEncryptFile>(Settings, *this);
    TimerProcess->start();
    Worker->Resume();
}

void TfrmMain::TimerProcessTimer()
{
    const TProgressTick tick = TimerProcessTick(Settings.ElapsedSeconds, DecimalSeparator());
    if (tick.StopTimer) {
        TimerProcess->stop();
        return;
    }
    ui->lblTime_Used->setText(QString::fromStdString(tick.TimeUsed));
    if (tick.Speed)
        ui->lblSpeed->setText(QString::fromStdString(*tick.Speed));
    if (tick.TimeLeft)
        ui->lblTime_Left->setText(QString::fromStdString(*tick.TimeLeft));
    if (tick.Percent) {
        ui->pbTotal->setValue(*tick.Percent);
        ui->lblPercent->setText(QString::number(*tick.Percent) + "%");
    }
    UpdateTrayTip();
}

void TfrmMain::btnPauseClick()
{
    // A cancelled run must reach its end: pausing it would only hold it up.
    if (!Worker || FRunOver || IsSet(g_bCancel))
        return;
    if (!WorkerPauseGate().IsPaused()) {
        Worker->Pause();
        ui->btnPause->setText(LangCaption("02000C13"));
        TimerProcess->stop();
    } else {
        Worker->Continue();
        ui->btnPause->setText(LangCaption("02000C12"));
        TimerProcess->start();
    }
}

void TfrmMain::btnHideClick()
{
    // Without a tray there is no way back from a hidden window: minimise instead.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        UpdateTrayTip();
        TrayIcon1->show();
        hide();
    } else {
        showMinimized();
    }
}

void TfrmMain::TrayIcon1Click(QSystemTrayIcon::ActivationReason reason)
{
    // Only a plain click brings the window back; a right, middle or double
    // click leaves the run in the background. The icon is hidden only after
    // the click's own event is over: hiding it destroys the window that is
    // still delivering that event.
    if (reason == QSystemTrayIcon::Trigger)
        QMetaObject::invokeMethod(this, &TfrmMain::RestoreFromTray, Qt::QueuedConnection);
}

void TfrmMain::RestoreFromTray()
{
    // A click queued just before the window went for good brings nothing back.
    if (FEnded || FEndWhenWorkerStops)
        return;
    TrayIcon1->hide();
    showNormal();
    raise();
    activateWindow();
}

void TfrmMain::UpdateTrayTip()
{
    TrayIcon1->setToolTip(QString("%1 %2\n%3 %4").arg(windowTitle(), ui->lblPercent->text(),
                                                      ui->lblTime_Left_Tip->text(), ui->lblTime_Left->text()));
}

void TfrmMain::ComeBack()
{
    // A question under a tray icon or a minimised window would go unseen
    // (several window managers hide a minimised window's dialogs with it).
    // A window closed by a cancel before the extraction stays gone.
    if (!FEndWhenWorkerStops && (!isVisible() || isMinimized()))
        RestoreFromTray();
}

void TfrmMain::btnCancelClick()
{
    close();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FEnded) {
        event->accept();
        return;
    }
    if (!Worker) {
        event->ignore();
        EndProgram();
        return;
    }
    event->ignore();
    // In the second between the worker's end and the window's own close there
    // is nothing left to cancel: asking would only put a question over the
    // outcome's message.
    if (FRunOver)
        return;
    ComeBack();  // a close from the taskbar may come while minimised
    if (ShowMessage(this, LangCaption("02000C30"), QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel) !=
        QMessageBox::Ok)
        return;
    if (!Worker)
        return;  // the run ended while the question was open
    const bool wasPaused = WorkerPauseGate().IsPaused();
    Worker->Cancel();
    if (IsSet(g_bExtracting)) {
        // The worker stops at its next check and posts its end; the window
        // waits for it. A paused worker waits at its gate: open it, so that
        // the cancel is seen at once and not after Continue. The work folder
        // goes when the window closes: until then the catalogue in it still
        // gives the texts of another close attempt's question.
        if (wasPaused)
            ui->btnPause->setText(LangCaption("02000C12"));
        return;
    }
    // Before the extraction nothing of the user's is touched yet: the window
    // goes at once and the program ends as soon as the worker has stopped.
    FEndWhenWorkerStops = true;
    TimerProcess->stop();
    hide();
    TrayIcon1->hide();
    WorkerPauseGate().Resume();
}

void TfrmMain::WMExtractDone(TExtractOutcome outcome)
{
    FOutcome = outcome;
    FRunOver = true;
    TimerProcess->stop();
    if (FOutcome == TExtractOutcome::eoDone)
        ShowRunComplete();
    // A refused password ends the program as a refused dialog does.
    if (FOutcome == TExtractOutcome::eoPasswordRefused)
        FEndWhenWorkerStops = true;
    if (FEndWhenWorkerStops) {
        FinishRun();
        return;
    }
    QTimer::singleShot(END_DELAY_MS, this, [this] { FinishRun(); });
}

void TfrmMain::ShowRunComplete()
{
    // The last tick may have come long before the last file: without this
    // a run that succeeded would vanish at 79 % and look like a crash.
    ui->pbTotal->setValue(ui->pbTotal->maximum());
    ui->lblPercent->setText(QString::number(ui->pbTotal->maximum()) + "%");
    ui->lblTime_Left->setText(QString::fromStdString(SecondsToText(0)));
    UpdateTrayTip();
}

void TfrmMain::FinishRun()
{
    QString message;
    if (FOutcome == TExtractOutcome::eoOutputFolderFailed) {
        const QString folder = QString::fromStdString(Settings.OutputDir).trimmed();
        message = QString::fromStdString(ReplacePlaceholder(LangText("02000603"), folder.toStdString()));
    } else if (FOutcome == TExtractOutcome::eoWrongPassword) {
        message = LangCaption("02000B10");
    } else if (FOutcome == TExtractOutcome::eoFailed) {
        message = QString::fromStdString(Worker ? FailureText(Worker->Failure()) : std::string());
    }
    if (!message.isEmpty()) {
        // The program ends when the message is answered, so it must be seen.
        ComeBack();
        ShowMessage(this, message, QMessageBox::Warning);
    }
    Worker.reset();
    EndProgram();
}

void TfrmMain::EndProgram()
{
    DeleteFolderTree(g_sWorkDir);
    TrayIcon1->hide();
    FEnded = true;
    close();
    emit Ended();
}

void TfrmMain::Synchronize(const std::function<void()>& work)
{
    if (QThread::currentThread() == thread())
        work();
    else
        QMetaObject::invokeMethod(this, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void TfrmMain::PostExtractDone(TExtractOutcome outcome)
{
    QMetaObject::invokeMethod(this, [this, outcome] { WMExtractDone(outcome); }, Qt::QueuedConnection);
}

void TfrmMain::ShowTotalSize(int64_t totalSize)
{
    ui->lblTotalSize->setText(QString::fromStdString(SizeToText(totalSize, DecimalSeparator())));
}

TOverwriteChoice TfrmMain::AskOverWrite(const std::string& existsFile, const std::string& newFile)
{
    // The run waits for this answer.
    ComeBack();
    TfrmOverWrite dialog(this);
    dialog.ExistsFile = QString::fromStdString(existsFile);
    dialog.NewFile = QString::fromStdString(newFile);
    dialog.exec();
    return static_cast<TOverwriteChoice>(dialog.Choice);
}

bool TfrmMain::AskPassword(std::string& password)
{
    frmPassword->exec();
    if (!frmPassword->Accepted)
        return false;
    password = frmPassword->edPassword->text().toStdString();
    return true;
}

