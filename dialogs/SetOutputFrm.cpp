#include "dialogs/SetOutputFrm.h"
#include "ui_SetOutputFrm.h"

#include "dialogs/Captions.h"
#include "platform/Paths.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <unistd.h>

namespace {

bool MayWriteIn(const QString& folder)
{
    return !folder.isEmpty() && access(folder.toStdString().c_str(), W_OK) == 0;
}

QString WithFinalSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

}  // namespace

TfrmSetOutput::TfrmSetOutput(QWidget* parent) : TFixedDialog(parent), ui(new Ui::TfrmSetOutput)
{
    ui->setupUi(this);
    FixSize(Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    edExeFile = ui->edExeFile;
    edOutput = ui->edOutput;
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmSetOutput::Button1Click);
    connect(ui->btnBrowser, &QPushButton::clicked, this, &TfrmSetOutput::btnBrowserClick);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmSetOutput::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSetOutput::btnCancelClick);
    // The edit boxes would paste a dropped file's address as text; the
    // dialog takes the drop instead, wherever it lands.
    setAcceptDrops(true);
    edExeFile->setAcceptDrops(false);
    edOutput->setAcceptDrops(false);
}

TfrmSetOutput::~TfrmSetOutput() = default;

void TfrmSetOutput::LoadCaptions()
{
    setWindowTitle(LangCaption("02000800"));
    ui->Label1->setText(LangCaption("02000801"));
    ui->btnOK->setText(LangCaption("02000702"));
    ui->btnCancel->setText(LangCaption("02000710"));
}

void TfrmSetOutput::FormShow()
{
    LoadCaptions();
    Accepted = false;
    if (!FKeepFields) {
        edExeFile->setText(FPresetExeFile);
        FProposedOutput = DefaultOutputFolder(GetProgramFolder(), FPresetExeFile);
        edOutput->setText(FProposedOutput);
    }
    FKeepFields = false;
    FPresetExeFile.clear();
    ui->btnOK->setFocus();
}

void TfrmSetOutput::PresetExeFile(const QString& path)
{
    FPresetExeFile = path;
}

void TfrmSetOutput::KeepFieldsOnNextShow()
{
    FKeepFields = true;
}

void TfrmSetOutput::UseExeFile(const QString& path)
{
    edExeFile->setText(path);
    // A folder the user typed or chose stays; only the proposal follows.
    if (edOutput->text() == FProposedOutput) {
        FProposedOutput = DefaultOutputFolder(GetProgramFolder(), path);
        edOutput->setText(FProposedOutput);
    }
}

void TfrmSetOutput::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedExeFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void TfrmSetOutput::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedExeFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void TfrmSetOutput::dropEvent(QDropEvent* event)
{
    const QString path = DroppedExeFile(event->mimeData()->urls());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    UseExeFile(path);
}

QString TfrmSetOutput::ChooseExecutable()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // "*.exe" in any letter case, also in a desktop's own file chooser, which
    // may match case-sensitively; the user sees only the name "Exe File".
    dialog.setNameFilter("Exe File (*.[eE][xX][eE])");
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool TfrmSetOutput::BrowseForFolder(const QString& title, QString& folder)
{
    const QString start = QFileInfo(folder).isDir() ? folder : QString();
    folder = QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
    return !folder.isEmpty();
}

void TfrmSetOutput::Button1Click()
{
    const QString chosen = ChooseExecutable();
    if (!chosen.isEmpty())
        UseExeFile(chosen);
}

void TfrmSetOutput::btnBrowserClick()
{
    QString folder = edOutput->text();
    if (BrowseForFolder(LangCaption("03020209"), folder) && !folder.isEmpty()) {
        while (folder.size() > 1 && folder.endsWith('/'))
            folder.chop(1);
        if (!folder.endsWith('/'))
            folder += '/';
        edOutput->setText(folder);
    }
}

void TfrmSetOutput::btnOKClick()
{
    if (FileExists(edExeFile->text().toStdString())) {
        Accepted = true;
        accept();
    }
}

void TfrmSetOutput::btnCancelClick()
{
    reject();
}

QString DefaultOutputFolder(const std::string& programFolder, const QString& exeFile)
{
    // Installed for all users the program's folder is the system's: the
    // user's files go beside the executable they came from, else home.
    if (MayWriteIn(QString::fromStdString(programFolder)))
        return WithFinalSlash(QString::fromStdString(programFolder));
    if (!exeFile.isEmpty()) {
        const QString exeFolder = QFileInfo(exeFile).absolutePath();
        if (MayWriteIn(exeFolder))
            return WithFinalSlash(exeFolder);
    }
    return WithFinalSlash(QDir::homePath());
}

QString DroppedExeFile(const QList<QUrl>& urls)
{
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return QString();
    const QFileInfo file(urls.front().toLocalFile());
    return file.isFile() ? file.absoluteFilePath() : QString();
}
