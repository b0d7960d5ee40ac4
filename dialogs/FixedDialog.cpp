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
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
