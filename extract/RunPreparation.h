#pragma once
// What every front end does before a run, in one place: the main work
// folder with the user's catalogue in it, where the library goes, and what
// counts as no text at all.

#include <cstdint>
#include <string>

constexpr int64_t MAIN_WORK_FOLDER_BYTES = 10485760;  // the catalogue; the worker finds room for the rest

// Makes the main work folder (g_sWorkDir) and writes the catalogue of the
// user's language into it as "en.txt" (g_sLangFile). Raises EVarnholdError
// when neither can be done.
void PrepareWorkFolder();

// Where the worker writes and loads the archive library: the main work folder + "7z.dll".
std::string LibraryFileIn(const std::string& workFolder);

// Empty, or only blanks and control characters: a folder or a password
// that is no folder or password at all.
bool IsBlank(const std::string& text);
