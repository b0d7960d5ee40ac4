#include "dialogs/Captions.h"

#include "lang/LangText.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

QFont TitleBarFont(const QFont& font)
{
    // Title bars use a bold face, often a size larger than the dialog's text.
    QFont titleFont(font);
    titleFont.setBold(true);
    titleFont.setPointSizeF(font.pointSizeF() * 1.2);
    return titleFont;
}

int TitleBarWidth(const QString& title, const QFont& font)
{
    return QFontMetrics(TitleBarFont(font)).horizontalAdvance(title) + TITLE_BAR_CONTROLS_WIDTH;
}

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
    // A box sizes itself to its text, and the window manager cuts the title
    // to fit ("Varnho...ration"). Qt sizes the box anew whenever it lays it
    // out, from its layout's minimum: a row as wide as the title bar needs
    // keeps the whole title in every such sizing.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(TitleBarWidth(box->windowTitle(), box->font()), 0, QSizePolicy::Fixed,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons)
{
    return static_cast<QMessageBox::StandardButton>(MakeMessage(owner, text, icon, buttons)->exec());
}
