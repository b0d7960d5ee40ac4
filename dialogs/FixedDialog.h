#pragma once
// What the program's dialogs share: a fixed size that grows with the texts
// of whichever language is shown, FormShow each time the dialog is shown,
// and neither a default nor a cancel button: Enter acts only on the focused
// button, and Escape does nothing.

#include <QDialog>

class TFixedDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFixedDialog(QWidget* parent) : QDialog(parent) {}
    void setVisible(bool visible) override;

protected:
    // Call after the form is set up.
    void FixSize(Qt::WindowFlags extraButtons);
    virtual void FormShow() = 0;
    void keyPressEvent(QKeyEvent* event) override;
};
