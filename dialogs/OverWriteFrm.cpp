#include "dialogs/OverWriteFrm.h"
#include "ui_OverWriteFrm.h"

#include "dialogs/Captions.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

const QDateTime ZERO_DATE_TIME(QDate(1899, 12, 30), QTime(0, 0));

}  // namespace

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

    const QString modifiedOn = LangCaption("02000983");
    QString unit = LangCaption("02000982");
    if (unit.contains("{0}"))
        unit = unit.remove("{0}").trimmed();
    sizeLine->setText(QString("%1 %2").arg(FileSizeOf(path)).arg(unit));
    timeLine->setText(QString("%1: %2").arg(modifiedOn, FileModifiedTime(path).toString("yyyy-MM-dd HH:mm:ss")));
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
    struct stat info;
    if (stat(path.toStdString().c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return 0;
    return info.st_size;
}

QDateTime FileModifiedTime(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ZERO_DATE_TIME;
    QDateTime local = info.lastModified().toLocalTime();
    if (local.date().year() < 1980)
        return ZERO_DATE_TIME;
    const QTime time = local.time();
    local.setTime(QTime(time.hour(), time.minute(), time.second() - time.second() % 2));
    return local;
}

bool LoadFileIcon(const QString& path, QPixmap& icon)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    icon = QFileIconProvider().icon(info).pixmap(32, 32);
    return !icon.isNull();
}
