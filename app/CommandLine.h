#pragma once
// The desktop program's one optional argument: the protected executable to
// open, as a file manager's "Open with" or a drop on the program's icon
// hands it over. Without it the program starts as always.

#include <QString>
#include <QStringList>

// The full path of the file named by the first argument after the program's
// own name (a path, relative to the current folder or absolute, or a
// file:// address); empty when there is none.
QString ExeFileFromArguments(const QStringList& arguments);
