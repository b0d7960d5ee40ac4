#pragma once
// The command line of varnhold-extract-cli.

#include <string>

enum class TOverwriteMode { Ask, Replace, Skip, Rename };

struct TCliOptions {
    std::string ExeFile;
    std::string OutputDir;
    std::string PasswordFile;  // "-" for standard input; empty when not given
    TOverwriteMode Overwrite = TOverwriteMode::Ask;
    bool Quiet = false;
    bool ShowHelp = false;
    bool ShowVersion = false;
};

// Fills `options`; false with `error` set when the command line is wrong.
bool ParseCommandLine(int argc, const char* const argv[], TCliOptions& options, std::string& error);

extern const char* const CLI_USAGE;

// Empty or only spaces and control characters, as the desktop program's
// dialogs judge a password or a folder typed in.
bool IsBlank(const std::string& text);
