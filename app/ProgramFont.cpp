#include "app/ProgramFont.h"

#include <QApplication>
#include <QFont>

void UseProgramFont()
{
    QFont font("DejaVu Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    QApplication::setFont(font);
}
