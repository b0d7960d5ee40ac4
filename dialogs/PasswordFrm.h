#pragma once
// Asks for the password of the protected executable; refuses only a blank one.

#include "dialogs/FixedDialog.h"
#include <memory>

namespace Ui {
class TfrmPassword;
}
class QLineEdit;
class QCheckBox;

class TfrmPassword : public TFixedDialog {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* parent = nullptr);
    ~TfrmPassword() override;

    void LoadCaptions();

    bool Accepted = false;     // true only after OK with a non-blank password
    QLineEdit* edPassword;     // the caller takes its text exactly as typed
    QCheckBox* chkDisplayPassword;

protected:
    void FormShow() override;

private slots:
    void btnOKClick();
    void btnCancelClick();
    void chkDisplayPasswordClick();

private:
    std::unique_ptr<Ui::TfrmPassword> ui;
};

// The text without every leading and trailing character at or below U+0020.
QString TrimControlAndBlanks(const QString& text);
