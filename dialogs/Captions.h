#pragma once
// Catalogue texts as Qt strings, and the program's message boxes.

#include <QMessageBox>
#include <QString>
#include <memory>

// The catalogue's text of `key` ("???" when missing).
QString LangCaption(const char* key);

// A message box with the application title (key 01000000) as its caption.
std::unique_ptr<QMessageBox> MakeMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Shows MakeMessage's box modally; the button the user pressed.
QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
