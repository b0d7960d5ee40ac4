// varnhold-extract-cli: the same run as the desktop program, for people
// without a desktop session and for scripts.
#include "cli/CliUi.h"
#include "cli/Options.h"
#include "cli/Terminal.h"
#include "extract/RunState.h"
#include "extract/WorkFolder.h"
#include "extract/Worker.h"
#include "lang/LangText.h"
#include "platform/PauseGate.h"

#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

enum TExitCode {
    EXIT_DONE = 0,
    EXIT_FAILED = 1,
    EXIT_WRONG_PASSWORD = 2,
    EXIT_FOLDER_FAILED = 3,
    EXIT_CANCELLED = 4,
    EXIT_USAGE = 64,
};

constexpr int64_t MAIN_WORK_FOLDER_BYTES = 10485760;

void Say(const std::string& text)
{
    std::fprintf(stderr, "varnhold-extract-cli: %s\n", text.c_str());
}

// The password from --password-file, VARNHOLD_PASSWORD or the terminal.
bool GetPassword(const TCliOptions& options, std::string& password, std::string& error)
{
    if (!options.PasswordFile.empty()) {
        if (!ReadFirstLine(options.PasswordFile, password)) {
            error = "cannot read the password file \"" + options.PasswordFile + "\"";
            return false;
        }
    } else if (const char* fromEnvironment = std::getenv("VARNHOLD_PASSWORD")) {
        password = fromEnvironment;
    } else if (!AskOnTerminal(LangText("02000B01") + " ", password, true)) {
        error = "no password: give --password-file or VARNHOLD_PASSWORD, or run on a terminal";
        return false;
    }
    if (password.find_first_not_of(" \t\r\n") == std::string::npos) {
        error = LangText("02000B00");
        return false;
    }
    return true;
}

// Ctrl-C and SIGTERM cancel the run as the desktop program's Cancel does.
// The signals are taken by one thread with sigwait, never in a handler.
class TSignalWatcher {
public:
    explicit TSignalWatcher(TCliUi& ui) : FUi(ui)
    {
        FSignals = CancelSignals();
        FThread = std::thread([this] { Watch(); });
    }

    // Blocked from the very start of the program, so a signal that comes
    // before the watcher runs waits for it instead of ending the program
    // with its work folder left behind.
    static sigset_t CancelSignals()
    {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, SIGHUP);
        return signals;
    }
    ~TSignalWatcher()
    {
        FStopping = true;
        pthread_kill(FThread.native_handle(), SIGHUP);
        FThread.join();
    }

private:
    void Watch()
    {
        for (;;) {
            int signal = 0;
            if (sigwait(&FSignals, &signal) != 0 || FStopping)
                return;
            SetFlag(g_bCancel, true);
            WorkerPauseGate().Resume();
            FUi.Wake();
        }
    }

    TCliUi& FUi;
    sigset_t FSignals;
    std::atomic<bool> FStopping{false};
    std::thread FThread;
};

int Run(const TCliOptions& options)
{
    g_sWorkDir = CreateWorkFolder(MAIN_WORK_FOLDER_BYTES);
    g_sLangFile = g_sWorkDir + "en.txt";
    WriteLanguageFile(g_sLangFile);

    TRunSettings settings;
    std::string error;
    if (!GetPassword(options, settings.PasswordText, error)) {
        Say(error);
        return EXIT_USAGE;
    }
    settings.ExeFile = options.ExeFile;
    settings.OutputDir = options.OutputDir;
    settings.DllFile = g_sWorkDir + "7z.dll";

    TCliUi ui(options.Overwrite, !options.Quiet && isatty(STDERR_FILENO));
    TSignalWatcher signals(ui);
    TThreaEncryptFile worker(settings, ui);
    worker.Resume();
    const auto [wParam, lParam] = ui.ServeUntilDone();
    worker.WaitFor();

    if (wParam == 1)
        return IsSet(g_bCancel) ? (Say("cancelled"), EXIT_CANCELLED) : EXIT_DONE;
    if (lParam == 1) {
        Say(ReplacePlaceholder(LangText("02000603"), options.OutputDir));
        return EXIT_FOLDER_FAILED;
    }
    if (lParam == 2) {
        Say(LangText("02000B10"));
        return EXIT_WRONG_PASSWORD;
    }
    Say(ReplacePlaceholder(LangText("02000D01"), worker.ErrorText()));
    return EXIT_FAILED;
}

}  // namespace

int main(int argc, char* argv[])
{
    const sigset_t cancelSignals = TSignalWatcher::CancelSignals();
    pthread_sigmask(SIG_BLOCK, &cancelSignals, nullptr);
    std::setlocale(LC_ALL, "");
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
        code = Run(options);
    } catch (const std::exception& failure) {
        Say(failure.what());
    }
    // The work folder goes on every way out.
    DeleteFolderTree(g_sWorkDir);
    return code;
}
