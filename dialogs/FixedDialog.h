#pragma once
// What the program's dialogs share: a fixed size that grows with the texts
// of whichever language is shown, FormShow each time the dialog is shown,
// and no cancel button, so Escape does nothing.

#include <QDialog>

class TFixedDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFixedDialog(QWidget* parent) : QDialog(parent) {}

protected:
    // Call after the form is set up.
    void FixSize(Qt::WindowFlags extraButtons);
    virtual void FormShow() = 0;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
