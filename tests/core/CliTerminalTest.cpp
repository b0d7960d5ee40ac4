// varnhold-extract-cli as a person uses it: on a terminal of its own (a
// pseudo-terminal), with the password prompt, the overwrite question, the
// progress line and Ctrl-C.
#include "core/CliFixture.h"
#include "extract/WorkFolder.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int PATIENCE_MS = 60000;
constexpr const char* QUESTION_END = "[c] cancel: ";
constexpr const char* CTRL_C = "\x03";

// The program started on a new pseudo-terminal, which is its controlling
// terminal and its standard streams, as when it is typed at a shell.
class TTerminalRun {
public:
    // `stdinFile`, when given, is standard input in place of the terminal.
    TTerminalRun(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                 const std::string& stdinFile = "")
    {
        // Everything the child needs is made before the fork: after it, only
        // async-signal-safe calls.
        std::vector<char*> argv = {const_cast<char*>(VARNHOLD_CLI)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& variable : environment)
            envp.push_back(const_cast<char*>(variable.c_str()));
        envp.push_back(nullptr);
        FPid = forkpty(&FMaster, nullptr, nullptr, nullptr);
        if (FPid == 0) {
            if (!stdinFile.empty()) {
                const int input = open(stdinFile.c_str(), O_RDONLY);
                dup2(input, STDIN_FILENO);
            }
            execve(VARNHOLD_CLI, argv.data(), envp.data());
            _exit(127);
        }
    }

    ~TTerminalRun()
    {
        if (FPid > 0 && !FEnded) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FMaster >= 0)
            close(FMaster);
    }

    bool Started() const { return FPid > 0; }

    // Reads the terminal until `text` has been shown `count` times in all;
    // false when the program ended or stalled before that.
    bool WaitFor(const std::string& text, int count = 1)
    {
        while (Occurrences(text) < count) {
            if (!ReadSome())
                return false;
        }
        return true;
    }

    int Occurrences(const std::string& text) const
    {
        int found = 0;
        for (auto at = Output.find(text); at != std::string::npos; at = Output.find(text, at + text.size()))
            ++found;
        return found;
    }

    void Type(const std::string& keys) { ASSERT_EQ(write(FMaster, keys.data(), keys.size()), ssize_t(keys.size())); }

    void Signal(int signal) { kill(FPid, signal); }

    // Whether the terminal echoes what is typed (the master side reads the
    // settings of the program's side).
    bool EchoIsOn() const
    {
        termios settings{};
        return tcgetattr(FMaster, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    }

    // Reads to the end; the exit code, -1 when the program did not exit (it
    // is killed when the run goes).
    int Finish()
    {
        while (ReadSome()) {
        }
        int status = 0;
        if (!FClosed || waitpid(FPid, &status, 0) != FPid)
            return -1;
        FEnded = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Output;

private:
    // False at the end of the output or after a long silence.
    bool ReadSome()
    {
        pollfd master{FMaster, POLLIN, 0};
        if (poll(&master, 1, PATIENCE_MS) <= 0)
            return false;
        char buffer[4096];
        const ssize_t count = read(FMaster, buffer, sizeof buffer);
        if (count <= 0) {
            FClosed = true;  // EIO: the program's side is closed
            return false;
        }
        Output.append(buffer, static_cast<size_t>(count));
        return true;
    }

    int FMaster = -1;
    pid_t FPid = -1;
    bool FEnded = false;
    bool FClosed = false;
};

class CommandLineOnATerminal : public CommandLineFixture {
protected:
    std::vector<std::string> Environment(bool withPassword) const
    {
        std::vector<std::string> environment = {"LC_ALL=C", "PATH=/usr/bin:/bin", "TMPDIR=" + Temp};
        if (withPassword)
            environment.push_back(std::string("VARNHOLD_PASSWORD=") + PASSWORD);
        return environment;
    }

    // Both files of the archive already in the output folder.
    void PutMineInTheOutputFolder()
    {
        WriteTextFile(Out + "a.txt", "mine");
        WriteTextFile(Out + "docs/b.txt", "mine");
    }
};

// Without a password from elsewhere, and with "--password-file -" typed at
// the terminal: both ask without echo.
class CommandLinePasswordPrompt : public CommandLineOnATerminal,
                                  public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(CommandLinePasswordPrompt, HidesWhatIsTypedAndRefusesABlankPassword)
{
    std::vector<std::string> args = GetParam();
    args.insert(args.end(), {Exe, Out});
    TTerminalRun run(args, Environment(false));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("Enter password:")) << run.Output;
    EXPECT_FALSE(run.EchoIsOn());
    run.Type("   \n");
    ASSERT_TRUE(run.WaitFor("Enter password:", 2)) << run.Output;
    run.Type(std::string(PASSWORD) + "\n");
    EXPECT_EQ(run.Finish(), 0) << run.Output;
    EXPECT_EQ(run.Output.find(PASSWORD), std::string::npos) << "the password was echoed: " << run.Output;
    EXPECT_EQ(FilesWithContent(Out), (std::vector<std::string>{"a.txt=alpha", "docs/b.txt=bravo"}));
    EXPECT_TRUE(WorkFoldersLeft().empty());
}

INSTANTIATE_TEST_SUITE_P(Sources, CommandLinePasswordPrompt,
                         ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"--password-file", "-"}),
                         [](const auto& info) { return std::string(info.param.empty() ? "Nothing" : "StandardInput"); });

TEST_F(CommandLineOnATerminal, CtrlCAtThePasswordPromptCancelsAndGivesTheEchoBack)
{
    TTerminalRun run({Exe, Out}, Environment(false));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor("Enter password:")) << run.Output;
    run.Type(CTRL_C);
    ASSERT_TRUE(run.WaitFor("The extraction was cancelled.")) << run.Output;
    EXPECT_TRUE(run.EchoIsOn());
    EXPECT_EQ(run.Finish(), 4) << run.Output;
    EXPECT_TRUE(ListFiles(Out).empty());
    EXPECT_TRUE(WorkFoldersLeft().empty());
}

struct TAnswerCase {
    const char* Name;
    std::vector<std::string> Answers;  // one line typed for each question, in turn
    int ExitCode;
    std::vector<std::string> Expected;  // the output folder afterwards, "path=content"
};
std::ostream& operator<<(std::ostream& out, const TAnswerCase& c) { return out << c.Name; }

class CommandLineQuestions : public CommandLineOnATerminal, public ::testing::WithParamInterface<TAnswerCase> {};

TEST_P(CommandLineQuestions, EachAnswerActsAsTheOverwriteDialogs)
{
    const TAnswerCase& c = GetParam();
    PutMineInTheOutputFolder();
    TTerminalRun run({Exe, Out}, Environment(true));
    ASSERT_TRUE(run.Started());
    for (size_t i = 0; i < c.Answers.size(); ++i) {
        ASSERT_TRUE(run.WaitFor(QUESTION_END, static_cast<int>(i) + 1)) << run.Output;
        run.Type(c.Answers[i] + "\n");
    }
    EXPECT_EQ(run.Finish(), c.ExitCode) << run.Output;
    EXPECT_EQ(run.Occurrences(QUESTION_END), static_cast<int>(c.Answers.size())) << run.Output;
    EXPECT_EQ(FilesWithContent(Out), c.Expected);
    EXPECT_TRUE(WorkFoldersLeft().empty());
    // The question shows both files: the one there ("mine") and the new one.
    EXPECT_NE(run.Output.find("4 bytes, modified on: "), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("5 bytes, modified on: "), std::string::npos) << run.Output;
}

INSTANTIATE_TEST_SUITE_P(Answers, CommandLineQuestions, ::testing::Values(
    TAnswerCase{"YesThenNo", {"y", "n"}, 0, {"a.txt=alpha", "docs/b.txt=mine"}},
    TAnswerCase{"AnUnknownAnswerAsksAgain", {"x", "n", "y"}, 0, {"a.txt=mine", "docs/b.txt=bravo"}},
    TAnswerCase{"YesToAll", {"a"}, 0, {"a.txt=alpha", "docs/b.txt=bravo"}},
    TAnswerCase{"NoToAll", {"s"}, 0, {"a.txt=mine", "docs/b.txt=mine"}},
    TAnswerCase{"AutoRename", {"r"}, 0, {"a(1).txt=alpha", "a.txt=mine", "docs/b(1).txt=bravo", "docs/b.txt=mine"}},
    TAnswerCase{"Cancel", {"c"}, 4, {"a.txt=mine", "docs/b.txt=mine"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// A signal while the question waits for its answer: the run is in the middle
// of its placement, with a staging folder full of extracted files.
class CommandLineSignalAtAQuestion : public CommandLineOnATerminal, public ::testing::WithParamInterface<bool> {};

TEST_P(CommandLineSignalAtAQuestion, CancelsWithoutWaitingForTheAnswer)
{
    const bool typedCtrlC = GetParam();
    PutMineInTheOutputFolder();
    TTerminalRun run({Exe, Out}, Environment(true));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor(QUESTION_END)) << run.Output;
    if (typedCtrlC)
        run.Type(CTRL_C);
    else
        run.Signal(SIGTERM);
    EXPECT_EQ(run.Finish(), 4) << run.Output;
    EXPECT_EQ(FilesWithContent(Out), (std::vector<std::string>{"a.txt=mine", "docs/b.txt=mine"}));
    EXPECT_TRUE(WorkFoldersLeft().empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, CommandLineSignalAtAQuestion, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "CtrlC" : "Terminate"); });

// The question goes to the terminal even when standard input is a pipe or a
// file, as with `--password-file -`.
TEST_F(CommandLineOnATerminal, QuestionsUseTheTerminalWhenStandardInputIsRedirected)
{
    PutMineInTheOutputFolder();
    WriteTextFile(Scratch / "password.txt", std::string(PASSWORD) + "\n");
    TTerminalRun run({"--password-file", "-", Exe, Out}, Environment(false), Scratch / "password.txt");
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor(QUESTION_END)) << run.Output;
    run.Type("a\n");
    EXPECT_EQ(run.Finish(), 0) << run.Output;
    EXPECT_EQ(FilesWithContent(Out), (std::vector<std::string>{"a.txt=alpha", "docs/b.txt=bravo"}));
}

// The question in the user's language, with the same answer letters, and the
// file times to the even second as the overwrite dialog shows them.
TEST_F(CommandLineOnATerminal, TheQuestionIsAskedInTheUsersLanguage)
{
    struct TCase {
        const char* Locale;
        const char* QuestionEnd;
        const char* ExistingFile;  // the size and time line of a.txt, already there
    };
    const TCase cases[] = {
        {"LC_ALL=C", QUESTION_END, "4 bytes, modified on: 2021-06-15 14:39:56"},
        {"LC_ALL=de_DE.UTF-8", "[c] abbrechen: ", "4 Bytes, geändert am: 2021-06-15 14:39:56"},
        {"LC_ALL=ja_JP.UTF-8", "[c] キャンセル: ", "4 バイト, 修正: 2021-06-15 14:39:56"},
    };
    for (const TCase& c : cases) {
        DeleteFolderTree(Out);
        PutMineInTheOutputFolder();
        ASSERT_EQ(RunProgram({"touch", "-d", "2021-06-15 14:39:57", Out + "a.txt"}), 0);
        std::vector<std::string> environment = Environment(true);
        environment[0] = c.Locale;
        TTerminalRun run({Exe, Out}, environment);
        ASSERT_TRUE(run.Started());
        ASSERT_TRUE(run.WaitFor(c.QuestionEnd)) << c.Locale << run.Output;
        EXPECT_NE(run.Output.find(c.ExistingFile), std::string::npos) << c.Locale << run.Output;
        run.Type("a\n");
        EXPECT_EQ(run.Finish(), 0) << c.Locale << run.Output;
        EXPECT_EQ(FilesWithContent(Out), (std::vector<std::string>{"a.txt=alpha", "docs/b.txt=bravo"})) << c.Locale;
    }
}

// The progress line is drawn once a second on a terminal, unless --quiet.
// The run is held at the question for longer than a second so that a tick
// falls due, however fast the machine.
class CommandLineProgressLine : public CommandLineOnATerminal, public ::testing::WithParamInterface<bool> {};

TEST_P(CommandLineProgressLine, ShownOnATerminalUnlessQuiet)
{
    const bool quiet = GetParam();
    PutMineInTheOutputFolder();
    std::vector<std::string> args = {Exe, Out};
    if (quiet)
        args.insert(args.begin(), "--quiet");
    TTerminalRun run(args, Environment(true));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.WaitFor(QUESTION_END)) << run.Output;
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    run.Type("a\n");
    EXPECT_EQ(run.Finish(), 0) << run.Output;
    EXPECT_EQ(run.Output.find("Remaining time: ") != std::string::npos, !quiet) << run.Output;
}

INSTANTIATE_TEST_SUITE_P(Modes, CommandLineProgressLine, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Quiet" : "Shown"); });

}  // namespace
