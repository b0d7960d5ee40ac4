#include "dialogs/PasswordFrm.h"
#include "ui_PasswordFrm.h"

#include "dialogs/Captions.h"


TfrmPassword::TfrmPassword(QWidget* parent) : TFixedDialog(parent), ui(new Ui::TfrmPassword)
{
    ui->setupUi(this);
    FixSize({});
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
