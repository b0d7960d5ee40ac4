#include "cli/Options.h"

#include <algorithm>
#include <vector>

const char* const CLI_USAGE =
    "Usage: varnhold-extract-cli [options] EXECUTABLE OUTPUT_DIR\n"
    "Recovers the files of a protected executable into OUTPUT_DIR.\n"
    "\n"
    "Options:\n"
    "  --password-file FILE   read the password from the first line of FILE (\"-\": standard input)\n"
    "  --overwrite MODE       what to do with files that already exist:\n"
    "                         ask (default, needs a terminal), replace, skip, rename\n"
    "  --quiet                no progress line\n"
    "  --help                 this text\n"
    "  --version              the program's version\n"
    "\n"
    "Without --password-file the password comes from the environment variable\n"
    "VARNHOLD_PASSWORD, else it is asked for on the terminal, without echo. It is\n"
    "never taken from the command line.\n"
    "\n"
    "Exit codes: 0 done, 1 failure, 2 wrong password, 3 the output folder cannot\n"
    "be created, 4 cancelled, 64 wrong usage.\n";

namespace {

bool ParseOverwriteMode(const std::string& text, TOverwriteMode& mode)
{
    const std::pair<const char*, TOverwriteMode> modes[] = {
        {"ask", TOverwriteMode::Ask}, {"replace", TOverwriteMode::Replace},
        {"skip", TOverwriteMode::Skip}, {"rename", TOverwriteMode::Rename}};
    for (const auto& [name, value] : modes) {
        if (text == name) {
            mode = value;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const argv[], TCliOptions& options, std::string& error)
{
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name value" or "--name=value".
        const auto equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const bool joinedValue = equals != std::string::npos;
        std::string value = joinedValue ? arg.substr(equals + 1) : std::string();
        const bool takesValue = name == "--password-file" || name == "--overwrite";
        if (takesValue && !joinedValue) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!takesValue && joinedValue && (name == "--quiet" || name == "--help" || name == "--version")) {
            error = name + " takes no value";
            return false;
        }
        if (name == "--password-file") {
            if (value.empty()) {
                error = "--password-file needs a file name, or \"-\" for standard input";
                return false;
            }
            options.PasswordFile = value;
        } else if (name == "--overwrite") {
            if (!ParseOverwriteMode(value, options.Overwrite)) {
                error = "--overwrite takes ask, replace, skip or rename, not \"" + value + "\"";
                return false;
            }
        } else if (name == "--quiet") {
            options.Quiet = true;
        } else if (name == "--help") {
            options.ShowHelp = true;
        } else if (name == "--version") {
            options.ShowVersion = true;
        } else if (name.rfind("--password", 0) == 0 || name.rfind("-p", 0) == 0) {
            error = "a password is never taken from the command line: use --password-file, "
                    "VARNHOLD_PASSWORD or the prompt";
            return false;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.ShowHelp || options.ShowVersion)
        return true;
    if (positional.size() != 2) {
        error = "expected EXECUTABLE and OUTPUT_DIR";
        return false;
    }
    options.ExeFile = positional[0];
    options.OutputDir = positional[1];
    return true;
}
