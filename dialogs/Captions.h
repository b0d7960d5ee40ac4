#pragma once
// Catalogue texts as Qt strings, and the program's message boxes.

#include <QFont>
#include <QMessageBox>
#include <QString>
#include <memory>

// The catalogue's text of `key` ("???" when missing).
QString LangCaption(const char* key);

// What a window manager's title bar holds beside the title: the window's
// icon and its minimise, maximise and close buttons, with their padding.
constexpr int TITLE_BAR_CONTROLS_WIDTH = 120;
// About the font a window manager draws the title of a window in `font`.
QFont TitleBarFont(const QFont& font);
// The width a window needs for a title bar that shows `title` whole.
int TitleBarWidth(const QString& title, const QFont& font);

// A message box with the application title (key 01000000) as its caption,
// at least as wide as its title bar needs.
std::unique_ptr<QMessageBox> MakeMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Shows MakeMessage's box modally; the button the user pressed.
QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
