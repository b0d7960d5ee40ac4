#pragma once
// Qt's own windows (the file and folder choosers) speak the user's language
// like the rest of the program, from the translations Debian installs with
// the package qt6-translations-l10n.

class QLocale;
class QObject;
class QTranslator;

// Installs Qt's translation for `locale`, owned by `owner`; null when there
// is none for that language (or the package is missing): Qt keeps its English.
QTranslator* UseQtTranslations(const QLocale& locale, QObject* owner);
