#include "dialogs/FixedDialog.h"

#include "dialogs/FitToTexts.h"

#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>

void TFixedDialog::FixSize(Qt::WindowFlags extraButtons)
{
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // No button is ever the default one: Qt would frame it as the one that
    // Enter presses, wherever the focus is.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
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
    // Enter presses the focused button and nothing else: in an edit box a
    // half-typed field must not confirm the dialog. Escape does nothing.
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        return;
    case Qt::Key_Escape:
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
