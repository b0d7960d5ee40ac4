#pragma once
// The first dialog of a run: the protected executable and the output folder.

#include "dialogs/FixedDialog.h"
#include <memory>

namespace Ui {
class TfrmSetOutput;
}
class QLineEdit;

class TfrmSetOutput : public TFixedDialog {
    Q_OBJECT
public:
    explicit TfrmSetOutput(QWidget* parent = nullptr);
    ~TfrmSetOutput() override;

    void LoadCaptions();

    bool Accepted = false;  // true only after OK on an existing file
    QLineEdit* edExeFile;   // the caller reads both fields directly
    QLineEdit* edOutput;

protected:
    void FormShow() override;
    // The desktop's file and folder choosers; tests put their own in.
    virtual QString ChooseExecutable();
    virtual bool BrowseForFolder(const QString& title, QString& folder);

private slots:
    void Button1Click();
    void btnBrowserClick();
    void btnOKClick();
    void btnCancelClick();

private:
    std::unique_ptr<Ui::TfrmSetOutput> ui;
};

// The output folder offered at first: the program's own folder when the user
// may write there, else the home folder; ends in "/".
QString DefaultOutputFolder();
