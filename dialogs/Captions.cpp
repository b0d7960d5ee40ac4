#include "dialogs/Captions.h"

#include "lang/LangText.h"

#include <QAbstractButton>

QString LangCaption(const char* key)
{
    return QString::fromStdString(LangText(key));
}

std::unique_ptr<QMessageBox> MakeMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                         QMessageBox::StandardButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(icon, LangCaption("01000000"), text, buttons, owner);
    box->setObjectName("VarnholdMessage");
    // The buttons speak the catalogue's language, as every other button does,
    // whatever language Qt's own texts are in.
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->setText(LangCaption("02000702"));
    if (QAbstractButton* cancel = box->button(QMessageBox::Cancel))
        cancel->setText(LangCaption("02000710"));
    return box;
}

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons)
{
    return static_cast<QMessageBox::StandardButton>(MakeMessage(owner, text, icon, buttons)->exec());
}
