#pragma once
// Asks for the password of the protected executable; refuses only a blank one.

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmPassword;
}
class QLineEdit;
class QCheckBox;

class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* parent = nullptr);
    ~TfrmPassword() override;

    void LoadCaptions();

    bool Accepted = false;     // true only after OK with a non-blank password
    QLineEdit* edPassword;     // the caller takes its text exactly as typed
    QCheckBox* chkDisplayPassword;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void FormShow();
    void btnOKClick();
    void btnCancelClick();
    void chkDisplayPasswordClick();

private:
    std::unique_ptr<Ui::TfrmPassword> ui;
};

// The text without every leading and trailing character at or below U+0020.
QString TrimControlAndBlanks(const QString& text);
