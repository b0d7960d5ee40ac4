#include "dialogs/PasswordFrm.h"
#include "ui_PasswordFrm.h"

#include "dialogs/Captions.h"

#include <QLayout>
#include <QKeyEvent>
#include <QShowEvent>

TfrmPassword::TfrmPassword(QWidget* parent) : QDialog(parent), ui(new Ui::TfrmPassword)
{
    ui->setupUi(this);
    // Fixed size, grown to whatever a translation needs so no text is cut.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    edPassword = ui->edPassword;
    chkDisplayPassword = ui->chkDisplayPassword;
    // The mask character is "*".
    edPassword->setStyleSheet("QLineEdit { lineedit-password-character: 42; }");
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmPassword::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmPassword::btnCancelClick);
    connect(chkDisplayPassword, &QCheckBox::toggled, this, &TfrmPassword::chkDisplayPasswordClick);
}

TfrmPassword::~TfrmPassword() = default;

void TfrmPassword::LoadCaptions()
{
    setWindowTitle(LangCaption("02000B00"));
    ui->lblPassword->setText(LangCaption("02000B01"));
    chkDisplayPassword->setText(LangCaption("02000B02"));
    ui->btnOK->setText(LangCaption("02000702"));
    ui->btnCancel->setText(LangCaption("02000710"));
}

void TfrmPassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmPassword::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TfrmPassword::FormShow()
{
    LoadCaptions();
    adjustSize();
    Accepted = false;
    edPassword->setFocus();
}

void TfrmPassword::chkDisplayPasswordClick()
{
    edPassword->setEchoMode(chkDisplayPassword->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

void TfrmPassword::btnOKClick()
{
    if (TrimControlAndBlanks(edPassword->text()).isEmpty()) {
        ShowMessage(this, LangCaption("02000B00"), QMessageBox::Information);
        return;
    }
    Accepted = true;
    accept();
}

void TfrmPassword::btnCancelClick()
{
    reject();
}

QString TrimControlAndBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 0x20)
        ++first;
    while (last > first && text[last - 1].unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}
