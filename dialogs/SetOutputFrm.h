#pragma once
// The first dialog of a run: the protected executable and the output folder.

#include "dialogs/FixedDialog.h"
#include <memory>

namespace Ui {
class TfrmSetOutput;
}
class QLineEdit;
class QUrl;

class TfrmSetOutput : public TFixedDialog {
    Q_OBJECT
public:
    explicit TfrmSetOutput(QWidget* parent = nullptr);
    ~TfrmSetOutput() override;

    void LoadCaptions();

    // The file the program was started with: the next showing starts with it
    // in "Exe File" instead of an empty field.
    void PresetExeFile(const QString& path);
    // The next showing keeps both fields as the user left them (the dialog
    // comes back because something in them was wrong).
    void KeepFieldsOnNextShow();
    // Puts a chosen executable into "Exe File"; an output folder that is
    // still the one proposed follows it (see DefaultOutputFolder).
    void UseExeFile(const QString& path);

    bool Accepted = false;  // true only after OK on an existing file
    QLineEdit* edExeFile;   // the caller reads both fields directly
    QLineEdit* edOutput;

protected:
    void FormShow() override;
    // The desktop's file and folder choosers; tests put their own in.
    virtual QString ChooseExecutable();
    virtual bool BrowseForFolder(const QString& title, QString& folder);
    // A file dropped anywhere on the dialog fills "Exe File".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void Button1Click();
    void btnBrowserClick();
    void btnOKClick();
    void btnCancelClick();

private:
    std::unique_ptr<Ui::TfrmSetOutput> ui;
    QString FPresetExeFile;
    bool FKeepFields = false;
    QString FProposedOutput;  // what the output field was given, not typed
};

// The output folder to propose: the program's own folder when the user may
// write there; otherwise the folder of `exeFile` once one is chosen and
// writable; otherwise the home folder. Ends in "/".
QString DefaultOutputFolder(const std::string& programFolder, const QString& exeFile);

// The one existing file among dropped `urls` that "Exe File" can take; empty
// when there is none (a folder, a remote file, several files).
QString DroppedExeFile(const QList<QUrl>& urls);
