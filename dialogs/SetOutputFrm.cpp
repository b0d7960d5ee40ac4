#include "dialogs/SetOutputFrm.h"
#include "ui_SetOutputFrm.h"

#include "dialogs/Captions.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <unistd.h>

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
    adjustSize();
    Accepted = false;
    edExeFile->clear();
    edOutput->setText(DefaultOutputFolder());
    ui->btnOK->setFocus();
}

QString TfrmSetOutput::ChooseExecutable()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // "*.exe" in any letter case.
    dialog.setNameFilter("Exe File (*.[eE][xX][eE])");
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
        edExeFile->setText(chosen);
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

QString DefaultOutputFolder()
{
    const std::string programFolder = GetProgramFolder();
    if (access(programFolder.c_str(), W_OK) == 0)
        return QString::fromStdString(programFolder);
    QString home = QDir::homePath();
    return home.endsWith('/') ? home : home + '/';
}
