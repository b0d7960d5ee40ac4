#include "dialogs/FitToTexts.h"

#include <QLayout>
#include <QWidget>

void FitToTexts(QWidget& window)
{
    window.ensurePolished();
    // The outer layout keeps each group box's last size hint: let it go.
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->layout())
            child->updateGeometry();
    }
    window.layout()->invalidate();
    window.layout()->activate();
}
