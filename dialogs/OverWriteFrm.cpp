#include "dialogs/OverWriteFrm.h"
#include "ui_OverWriteFrm.h"

#include "dialogs/Captions.h"
#include "extract/FileDetails.h"

#include <QFileIconProvider>
#include <QFileInfo>

TfrmOverWrite::TfrmOverWrite(QWidget* parent) : TFixedDialog(parent), ui(new Ui::TfrmOverWrite)
{
    ui->setupUi(this);
    FixSize({});
    const std::pair<QPushButton*, TOverwriteChoice> buttons[] = {
        {ui->btnYes, ocYes},       {ui->btnNo, ocNo},         {ui->btnYesAll, ocYesAll},
        {ui->btnNoAll, ocNoAll},   {ui->btnRename, ocRename}, {ui->btnCancel, ocCancel},
    };
    for (const auto& [button, choice] : buttons) {
        const TOverwriteChoice answer = choice;
        connect(button, &QPushButton::clicked, this, [this, answer] { Answer(answer); });
    }
}

TfrmOverWrite::~TfrmOverWrite() = default;

void TfrmOverWrite::LoadCaptions()
{
    setWindowTitle(LangCaption("02000900"));
    ui->Label1->setText(LangCaption("02000901"));
    ui->Label2->setText(LangCaption("02000902"));
    ui->Label5->setText(LangCaption("02000903"));
    ui->btnYes->setText(LangCaption("02000705"));
    ui->btnNo->setText(LangCaption("02000709"));
    ui->btnYesAll->setText(LangCaption("02000707"));
    ui->btnNoAll->setText(LangCaption("0200070B"));
    ui->btnRename->setText(LangCaption("02000911"));
    ui->btnCancel->setText(LangCaption("02000710"));
}

void TfrmOverWrite::FormShow()
{
    LoadCaptions();
    Choice = ocYes;
    ui->lblFile->setText(ExistsFile);
    ShowFile(ExistsFile, ui->imgExists, ui->lblExistsFile_Size, ui->lblExistsFile_Time);
    ShowFile(NewFile, ui->imgNew, ui->lblNewFile_Size, ui->lblNewFile_Time);
    ui->btnYes->setFocus();
}

void TfrmOverWrite::ShowFile(const QString& path, QLabel* image, QLabel* sizeLine, QLabel* timeLine)
{
    QPixmap icon;
    LoadFileIcon(path, icon);
    image->setPixmap(icon);

    const TFileDetails details = ReadFileDetails(path.toStdString());
    sizeLine->setText(QString::fromStdString(FileSizeLine(details.Size)));
    timeLine->setText(QString::fromStdString(FileTimeLine(details.Modified)));
}

void TfrmOverWrite::Answer(TOverwriteChoice choice)
{
    Choice = choice;
    accept();
}

void TfrmOverWrite::reject()
{
    // A dismissed question must never replace the user's file.
    Choice = ocCancel;
    TFixedDialog::reject();
}

int64_t FileSizeOf(const QString& path)
{
    return ReadFileDetails(path.toStdString()).Size;
}

QDateTime FileModifiedTime(const QString& path)
{
    const TFileTime time = ReadFileDetails(path.toStdString()).Modified;
    return QDateTime(QDate(time.Year, time.Month, time.Day), QTime(time.Hour, time.Minute, time.Second));
}

bool LoadFileIcon(const QString& path, QPixmap& icon)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    icon = QFileIconProvider().icon(info).pixmap(32, 32);
    return !icon.isNull();
}
