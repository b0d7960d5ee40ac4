// varnhold-extract-cli: the same run as the desktop program, for people
// without a desktop session and for scripts.
#include "cli/CliUi.h"
#include "cli/Options.h"
#include "cli/SignalWatcher.h"
#include "cli/Terminal.h"
#include "extract/RunPreparation.h"
#include "extract/RunState.h"
#include "extract/WorkFolder.h"
#include "extract/Worker.h"
#include "lang/FailureText.h"
#include "lang/LangText.h"
#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#ifdef _WIN32
#include "platform/Win32Text.h"
#endif

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#ifdef _WIN32
#include <io.h>
#include <vector>
#define isatty _isatty
#define STDIN_FILENO 0
#define STDERR_FILENO 2
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace {

enum TExitCode {
    EXIT_DONE = 0,
    EXIT_FAILED = 1,
    EXIT_WRONG_PASSWORD = 2,
    EXIT_FOLDER_FAILED = 3,
    EXIT_CANCELLED = 4,
    EXIT_USAGE = 64,
};


void Say(const std::string& text)
{
    std::fprintf(stderr, "varnhold-extract-cli: %s\n", text.c_str());
}

// The password from --password-file, VARNHOLD_PASSWORD or the terminal; an
// exit code when there is none.
int GetPassword(const TCliOptions& options, int cancelFd, std::string& password)
{
    const bool fromFile = !options.PasswordFile.empty();
    // "--password-file -" with the terminal as standard input becomes the
    // prompt, which does not show what is typed.
    const bool typedAtTheTerminal = options.PasswordFile == "-" && isatty(STDIN_FILENO);
    std::string fromEnvironment;
    const bool inEnvironment = GetEnvironmentText("VARNHOLD_PASSWORD", fromEnvironment);
    if (fromFile && !typedAtTheTerminal) {
        if (!ReadFirstLine(options.PasswordFile, password)) {
            Say(FillPlaceholders(LangText("02000D31"), {options.PasswordFile}));
            return EXIT_USAGE;
        }
    } else if (!fromFile && inEnvironment) {
        password = fromEnvironment;
    } else if (!AskPasswordOnTerminal(password, cancelFd)) {
        if (IsSet(g_bCancel))
            return EXIT_CANCELLED;
        Say(LangText("02000D32"));
        return EXIT_USAGE;
    }
    // The desktop program's password dialog takes no blank password either.
    if (IsBlank(password)) {
        Say(LangText("02000B00"));
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

int Run(const TCliOptions& options, const TSignalWatcher& signals)
{
    PrepareWorkFolder();

    // A blank folder would name the root of the file system.
    if (IsBlank(options.OutputDir)) {
        Say(LangText("02000881"));
        return EXIT_USAGE;
    }

    TRunSettings settings;
    if (const int code = GetPassword(options, signals.CancelFd(), settings.PasswordText); code != EXIT_DONE)
        return code;
    settings.ExeFile = options.ExeFile;
    settings.OutputDir = options.OutputDir;
    settings.DllFile = LibraryFileIn(g_sWorkDir);

    TCliUi ui(options.Overwrite, !options.Quiet && isatty(STDERR_FILENO), signals.CancelFd());
    TThreaEncryptFile worker(settings, ui);
    worker.Resume();
    const TExtractOutcome outcome = ui.ServeUntilDone();
    worker.WaitFor();

    switch (outcome) {
    case TExtractOutcome::eoDone:
        // A signal that comes after the last file was placed cancels nothing.
        return EXIT_DONE;
    case TExtractOutcome::eoCancelled:
    case TExtractOutcome::eoPasswordRefused:
        return EXIT_CANCELLED;
    case TExtractOutcome::eoOutputFolderFailed:
        Say(ReplacePlaceholder(LangText("02000603"), options.OutputDir));
        return EXIT_FOLDER_FAILED;
    case TExtractOutcome::eoWrongPassword:
        Say(LangText("02000B10"));
        return EXIT_WRONG_PASSWORD;
    case TExtractOutcome::eoFailed:
        break;
    }
    Say(ui.Refusal().empty() ? FailureText(worker.Failure()) : ui.Refusal());
    if (DebugOutputEnabled())
        OutputDebugString(worker.ErrorText());
    return EXIT_FAILED;
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over as UTF-16; the program's text is UTF-8.
int RunMain(int argc, char* argv[]);

int wmain(int argc, wchar_t* wideArgv[])
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(Narrow(wideArgv[i]));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return RunMain(argc, argv.data());
}

int RunMain(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    PrepareTerminalOutput();
#else
int main(int argc, char* argv[])
{
    // Blocked from the very first instruction, so a signal that comes before
    // the watcher runs waits for it instead of ending the program.
    const sigset_t cancelSignals = TSignalWatcher::CancelSignals();
    pthread_sigmask(SIG_BLOCK, &cancelSignals, nullptr);
    std::setlocale(LC_ALL, "");
    // A message written to a closed pipe must not end the program before it
    // has deleted its work folder; the write just fails.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    TCliOptions options;
    std::string error;
    if (!ParseCommandLine(argc, argv, options, error)) {
        Say(error);
        std::fputs(CLI_USAGE, stderr);
        return EXIT_USAGE;
    }
    if (options.ShowHelp) {
        std::fputs(CLI_USAGE, stdout);
        return EXIT_DONE;
    }
    if (options.ShowVersion) {
        std::printf("varnhold-extract-cli %s\n", VARNHOLD_VERSION);
        return EXIT_DONE;
    }
    int code = EXIT_FAILED;
    try {
        // Before the work folder exists and before any other thread starts:
        // from here on a signal cancels the run and never ends the process
        // with the work folder left behind or the terminal's echo off.
        const TSignalWatcher signals;
        code = Run(options, signals);
        if (code == EXIT_CANCELLED)
            Say(LangText("02000D30"));
    } catch (const EVarnholdError& failure) {
        // Before the catalogue is written there is no text but the diagnostic one.
        Say(FileExists(g_sLangFile) ? FailureText(failure.Failure()) : std::string(failure.what()));
    } catch (const std::exception& failure) {
        Say(failure.what());
    }
    // The work folder goes on every way out.
    DeleteFolderTree(g_sWorkDir);
    return code;
}
