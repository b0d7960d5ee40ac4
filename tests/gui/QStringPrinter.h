#pragma once
// Failed comparisons of Qt strings print the text, not the UTF-16 code units.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
