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

#include "extract/RunPreparation.h"  // IsBlank
