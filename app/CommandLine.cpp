#include "app/CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString ExeFileFromArguments(const QStringList& arguments)
{
    if (arguments.size() < 2 || arguments.at(1).isEmpty())
        return QString();
    QString path = arguments.at(1);
    // Some desktops hand over an address even for a local file.
    if (path.startsWith("file:", Qt::CaseInsensitive))
        path = QUrl(path).toLocalFile();
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
