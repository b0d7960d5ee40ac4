#pragma once
// Asks what to do with a file that already exists in the output folder,
// showing it and the new one side by side.

#include "extract/OverwriteChoice.h"

#include <QDateTime>
#include "dialogs/FixedDialog.h"
#include <memory>

namespace Ui {
class TfrmOverWrite;
}
class QLabel;

class TfrmOverWrite : public TFixedDialog {
    Q_OBJECT
public:
    explicit TfrmOverWrite(QWidget* parent = nullptr);
    ~TfrmOverWrite() override;

    void LoadCaptions();

    QString ExistsFile;      // set by the caller before showing
    QString NewFile;
    int32_t Choice = ocYes;  // the answer; closing the dialog answers ocCancel

    // Closing by the frame (or the window manager's close key) is no
    // answer to replace: it keeps the existing file and stops, as Cancel does.
    void reject() override;

protected:
    void FormShow() override;

private:
    void Answer(TOverwriteChoice choice);
    void ShowFile(const QString& path, QLabel* image, QLabel* sizeLine, QLabel* timeLine);

    std::unique_ptr<Ui::TfrmOverWrite> ui;
};

// Size in bytes of the file at `path`; 0 when there is none.
int64_t FileSizeOf(const QString& path);
// Last-write time as local time to the even second (as the DOS form keeps
// it); 1899-12-30 00:00:00 when there is no file or the time is before 1980.
QDateTime FileModifiedTime(const QString& path);
// The desktop's large (32 x 32) icon for the file; false when there is none.
bool LoadFileIcon(const QString& path, QPixmap& icon);
