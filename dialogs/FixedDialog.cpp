#include "dialogs/FixedDialog.h"

#include <QKeyEvent>
#include <QLayout>
#include <QShowEvent>

void TFixedDialog::FixSize(Qt::WindowFlags extraButtons)
{
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   extraButtons);
}

void TFixedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window coming back from the taskbar is no new showing.
    if (!event->spontaneous())
        FormShow();
}

void TFixedDialog::keyPressEvent(QKeyEvent* event)
{
    // A focused push button takes Enter itself and never passes it on. What
    // reaches the dialog comes from an edit box or the check box, and would
    // press whichever button Qt made the default: a half-typed field must not
    // confirm the dialog, and Escape must not abandon it.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
