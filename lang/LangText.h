#pragma once
// Every caption and message of the program comes from the language catalogue
// written into the work folder ("en.txt", whatever the language).

#include <cstdint>
#include <initializer_list>
#include <string>

// The written catalogue: g_sWorkDir + "en.txt". Set once by the UI thread
// before the worker starts, then only read.
extern std::string g_sLangFile;

// The text of `key` in `section`; "???" when the file, the key or the text is
// missing. A file name that does not exist is tried again relative to the
// program's own folder. Read anew on every call.
std::string GetLangText(const std::string& fileName, const std::string& section, const std::string& key);

// GetLangText(g_sLangFile, "Main", key).
std::string LangText(const std::string& key);

// Every "{0}" of `text` replaced by `value`.
std::string ReplacePlaceholder(const std::string& text, const std::string& value);

// Every "{0}" of `text` replaced by the first value, every "{1}" by the
// second and so on, in one pass: a value that itself holds "{1}" stays as it
// is. A placeholder without a value stays too.
std::string FillPlaceholders(const std::string& text, std::initializer_list<std::string> values);

// The catalogue resource for a language identifier ("Lang_English" ...).
std::string LanguageResourceName(uint16_t langId);

// Writes the catalogue of the user's language to `fileName`.
void WriteLanguageFile(const std::string& fileName);
