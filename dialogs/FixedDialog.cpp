#include "dialogs/FixedDialog.h"

#include "dialogs/FitToTexts.h"

#include <QKeyEvent>
#include <QLayout>

void TFixedDialog::FixSize(Qt::WindowFlags extraButtons)
{
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   extraButtons);
}

void TFixedDialog::setVisible(bool visible)
{
    // Each showing starts with FormShow; a window coming back from the
    // taskbar is no new showing and does not come through here. The texts it
    // sets are laid out while the dialog is still hidden, so it appears at
    // its final size and QDialog centres that size.
    if (visible && !isVisible()) {
        FormShow();
        FitToTexts(*this);
    }
    QDialog::setVisible(visible);
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
