#pragma once
// The main window: it runs the two dialogs, starts the extraction worker,
// shows its progress once a second, pauses, goes to the background, confirms
// a cancel, reports the outcome and ends the program.

#include "extract/RunState.h"
#include "extract/UiBridge.h"
#include "extract/Worker.h"

#include <QSystemTrayIcon>
#include <QWidget>
#include <memory>

namespace Ui {
class TfrmMain;
}
class QTimer;
class TfrmSetOutput;
class TfrmPassword;

class TfrmMain : public QWidget, public IWorkerUi {
    Q_OBJECT
public:
    TfrmMain(TfrmSetOutput* setOutput, TfrmPassword* password);
    ~TfrmMain() override;

    // Creates the work folder, writes the catalogue, sets the captions and
    // starts the run 50 ms later. The window stays hidden meanwhile.
    void FormShow();
    void LoadLanguage();

    // IWorkerUi
    void Synchronize(const std::function<void()>& work) override;
    void PostExtractDone(TExtractOutcome outcome) override;
    void ShowTotalSize(int64_t totalSize) override;
    TOverwriteChoice AskOverWrite(const std::string& existsFile, const std::string& newFile) override;
    bool AskPassword(std::string& password) override;

    TRunSettings Settings;  // ElapsedSeconds, DllFile, PayloadFile, OutputDir, PasswordText, ExeFile
    std::unique_ptr<TThreaEncryptFile> Worker;
    Ui::TfrmMain* Controls() const { return ui.get(); }

signals:
    // The window has closed for good: the program ends.
    void Ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer1Timer();
    void TimerProcessTimer();
    void btnPauseClick();
    void btnHideClick();
    void btnCancelClick();
    void TrayIcon1Click(QSystemTrayIcon::ActivationReason reason);

private:
    // WM_EXTRACT_DONE: the worker's end, as its typed outcome.
    void WMExtractDone(TExtractOutcome outcome);
    void FinishRun();
    void EndProgram();
    // Brings the window back from the background before it asks or tells.
    void ComeBack();
    void RestoreFromTray();
    // The tray icon's tooltip: percent done and remaining time.
    void UpdateTrayTip();
    // The worker has placed every file: the figures say so for the last second.
    void ShowRunComplete();

    std::unique_ptr<Ui::TfrmMain> ui;
    TfrmSetOutput* frmSetOutput;
    TfrmPassword* frmPassword;
    QTimer* Timer1;
    QTimer* TimerProcess;
    QSystemTrayIcon* TrayIcon1;
    bool FEndWhenWorkerStops = false;  // closed before the extraction: end quietly
    TExtractOutcome FOutcome = TExtractOutcome::eoDone;
    bool FRunOver = false;             // the worker's end has arrived; the window closes by itself
    bool FEnded = false;
};
