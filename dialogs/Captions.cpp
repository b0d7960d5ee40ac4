#include "dialogs/Captions.h"

#include "lang/LangText.h"

QString LangCaption(const char* key)
{
    return QString::fromStdString(LangText(key));
}

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, LangCaption("01000000"), text, buttons, owner);
    box.setObjectName("VarnholdMessage");
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
