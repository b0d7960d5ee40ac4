#pragma once
// Reads one key of one section from a key-and-text file (the catalogue
// format): UTF-16LE with a byte-order mark (UTF-8 is accepted too), sections
// in brackets, "key=value" lines, ";" comments. Sections and keys compare
// without regard to case; blanks around keys and values go; a value in
// double quotes loses them (what stands between is taken literally); keys
// above the first section belong to no section.

#include <string>

constexpr size_t PROFILE_VALUE_LIMIT = 2047;  // characters, as the buffer allowed

// The value in a catalogue's raw bytes, or `defaultValue` when the section or
// key is missing.
std::string FindProfileValue(const std::string& fileBytes, const std::string& section, const std::string& key,
                             const std::string& defaultValue);

// The value, or `defaultValue` when the file, section or key is missing.
std::string ReadProfileString(const std::string& fileName, const std::string& section, const std::string& key,
                              const std::string& defaultValue);
