#include "core/CliFixture.h"

#include <thread>
#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// A file as long as a protected executable, but with no archive in it.
constexpr size_t PAYLOAD_SIZE_FOR_PLAIN = 800000;

class CommandLine : public CommandLineFixture {
protected:
    // Runs the program with `environment` ("NAME=value ...", shell words),
    // standard input from `input` and no terminal (in a session of its own);
    // returns the exit code, the output in Output.
    int Cli(const std::string& environment, const std::vector<std::string>& args, const std::string& input = "")
    {
        WriteTextFile(Scratch / "stdin.txt", input);
#ifdef _WIN32
        // A console program started without a console has no terminal either.
        std::vector<std::pair<std::string, std::string>> variables = {{"TMP", Temp}, {"VARNHOLD_PASSWORD", ""}};
        for (const auto& assignment : ShellAssignments(environment))
            variables.push_back(assignment);
        std::vector<std::string> argv = {VARNHOLD_CLI};
        argv.insert(argv.end(), args.begin(), args.end());
        Output.clear();
        return RunProgramWith(argv, variables, Scratch / "stdin.txt", &Output);
#else
        std::vector<std::string> argv = {"sh", "-c",
                                         "export LC_ALL=C TMPDIR=\"" + Temp + "\"; unset VARNHOLD_PASSWORD; " +
                                             environment + " exec setsid \"$0\" \"$@\" < \"" + (Scratch / "stdin.txt") + "\"",
                                         VARNHOLD_CLI};
        argv.insert(argv.end(), args.begin(), args.end());
        Output.clear();
        return RunProgram(argv, &Output);
#endif
    }

    // "A=x B='y z'": the variables a shell would set.
    static std::vector<std::pair<std::string, std::string>> ShellAssignments(const std::string& words)
    {
        std::vector<std::pair<std::string, std::string>> result;
        size_t i = 0;
        while (i < words.size()) {
            while (i < words.size() && words[i] == ' ')
                ++i;
            const size_t equals = words.find('=', i);
            if (i >= words.size() || equals == std::string::npos)
                break;
            std::string name = words.substr(i, equals - i), value;
            bool quoted = false;
            for (i = equals + 1; i < words.size() && (quoted || words[i] != ' '); ++i) {
                if (words[i] == '\'')
                    quoted = !quoted;
                else
                    value.push_back(words[i]);
            }
            result.emplace_back(name, value);
        }
        return result;
    }

    std::string Output;
};

struct TExitCase {
    const char* Name;
    const char* Environment;
    std::vector<std::string> Args;  // "EXE" and "OUT" stand for the payload and the output folder
    int ExitCode;
    const char* Message;            // part of what is printed
};
std::ostream& operator<<(std::ostream& out, const TExitCase& c) { return out << c.Name; }

class CommandLineExits : public CommandLine, public ::testing::WithParamInterface<TExitCase> {};

TEST_P(CommandLineExits, CodeAndMessage)
{
    const TExitCase& c = GetParam();
#ifdef _WIN32
    if (std::string(c.Environment).find("LC_ALL") != std::string::npos)
        GTEST_SKIP() << "Windows takes the language from the system, not from the environment";
#endif
    WriteBytes(Scratch / "plain.exe", RandomBytes(PAYLOAD_SIZE_FOR_PLAIN, 5));
    WriteTextFile(Scratch / "blocker", "a file where the output folder should be");
    std::vector<std::string> args;
    for (const std::string& arg : c.Args)
        args.push_back(arg == "EXE" ? Exe : arg == "OUT" ? Out : arg == "PLAIN" ? Scratch / "plain.exe"
                                                         : arg == "BLOCKED" ? Scratch / "blocker/out" : arg);
    EXPECT_EQ(Cli(c.Environment, args), c.ExitCode) << Output;
    EXPECT_NE(Output.find(c.Message), std::string::npos) << Output;
    EXPECT_TRUE(WorkFoldersLeft().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineExits, ::testing::Values(
    TExitCase{"Done", "VARNHOLD_PASSWORD='pass word '", {"EXE", "OUT"}, 0, ""},
    TExitCase{"WrongPassword", "VARNHOLD_PASSWORD='pass word'", {"EXE", "OUT"}, 2, "Passwords do not match"},
    TExitCase{"WrongPasswordInTheUsersLanguage", "LC_ALL=de_DE.UTF-8 VARNHOLD_PASSWORD='pass word'", {"EXE", "OUT"}, 2,
              "Die Passw\u00f6rter stimmen nicht \u00fcberein."},
    TExitCase{"NotProtected", "VARNHOLD_PASSWORD=x", {"PLAIN", "OUT"}, 1, "is not a protected executable: it holds no files that this program can read"},
    TExitCase{"NotProtectedInTheUsersLanguage", "LC_ALL=de_DE.UTF-8 VARNHOLD_PASSWORD=x", {"PLAIN", "OUT"}, 1,
              "ist keine gesch\u00fctzte ausf\u00fchrbare Datei: Sie enth\u00e4lt keine Dateien"},
    TExitCase{"MissingExecutable", "VARNHOLD_PASSWORD=x", {"/nonexistent/app.exe", "OUT"}, 1, "The file \"/nonexistent/app.exe\" could not be opened or read."},
    TExitCase{"BlankOutputFolder", "VARNHOLD_PASSWORD='pass word '", {"EXE", " "}, 64, "Specify a location"},
    TExitCase{"FolderCannotBeCreated", "VARNHOLD_PASSWORD='pass word '", {"EXE", "BLOCKED"}, 3, "Cannot create folder"},
    TExitCase{"NoArguments", "", {}, 64, "Usage:"},
    TExitCase{"UnknownOption", "", {"--fast", "EXE", "OUT"}, 64, "unknown option --fast"},
    TExitCase{"PasswordOnTheCommandLine", "", {"--password=x", "EXE", "OUT"}, 64, "never taken from the command line"},
    TExitCase{"EmptyPasswordFileName", "", {"--password-file=", "EXE", "OUT"}, 64, "--password-file needs a file name"},
    TExitCase{"ValueForAFlag", "", {"--quiet=yes", "EXE", "OUT"}, 64, "--quiet takes no value"},
    TExitCase{"BadOverwriteMode", "", {"--overwrite", "always", "EXE", "OUT"}, 64, "--overwrite takes"},
    TExitCase{"NoPasswordAnywhere", "", {"EXE", "OUT"}, 64, "No password was given: use --password-file"},
    TExitCase{"NoPasswordInTheUsersLanguage", "LC_ALL=ja_JP.UTF-8", {"EXE", "OUT"}, 64,
              "\u30d1\u30b9\u30ef\u30fc\u30c9\u304c\u6307\u5b9a\u3055\u308c\u3066\u3044\u307e\u305b\u3093"},
    TExitCase{"UnreadablePasswordFile", "", {"--password-file", "/nonexistent/pw.txt", "EXE", "OUT"}, 64,
              "The password file \"/nonexistent/pw.txt\" cannot be read."},
    TExitCase{"UnreadablePasswordFileInTheUsersLanguage", "LC_ALL=de_DE.UTF-8",
              {"--password-file", "/nonexistent/pw.txt", "EXE", "OUT"}, 64,
              "Die Passwortdatei \u201e/nonexistent/pw.txt\u201c kann nicht gelesen werden."},
    TExitCase{"Help", "", {"--help"}, 0, "Exit codes"},
    TExitCase{"Version", "", {"--version"}, 0, "varnhold-extract-cli "}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CommandLine, PasswordSources)
{
    WriteTextFile(Scratch / "pw.txt", "pass word \r\nsecond line is not read\n");
    EXPECT_EQ(Cli("", {"--password-file", Scratch / "pw.txt", Exe, Scratch / "one"}), 0) << Output;
    EXPECT_EQ(Cli("", {"--password-file", "-", Exe, Scratch / "two"}, "pass word \n"), 0) << Output;
    EXPECT_EQ(Cli("VARNHOLD_PASSWORD='pass word '", {Exe, Scratch / "three"}), 0) << Output;
    EXPECT_EQ(Cli("", {"--password-file=" + Scratch / "pw.txt", Exe, Scratch / "five"}), 0) << Output;
    // The file wins over the environment.
    EXPECT_EQ(Cli("VARNHOLD_PASSWORD=wrong", {"--password-file", Scratch / "pw.txt", Exe, Scratch / "four"}), 0) << Output;
    EXPECT_EQ(Cli("", {"--password-file", Scratch / "missing.txt", Exe, Scratch / "six"}), 64) << Output;
    EXPECT_EQ(Cli("", {"--password-file", "-", Exe, Scratch / "seven"}, "   \n"), 64) << Output;
    // A byte-order mark that an editor put first is no part of the password.
    WriteTextFile(Scratch / "bom.txt", "\xEF\xBB\xBFpass word \n");
    EXPECT_EQ(Cli("", {"--password-file", Scratch / "bom.txt", Exe, Scratch / "eight"}), 0) << Output;
    for (const char* folder : {"one", "two", "three", "four", "five", "eight"})
        EXPECT_EQ(ReadWholeFile(Scratch / (std::string(folder) + "/docs/b.txt")), "bravo") << folder;
}

TEST_F(CommandLine, PasswordsOutsideAsciiArriveWhole)
{
    // From the environment, and from a file whose own name is outside ASCII too.
    const std::string password = "P\u00e4sswort \u65e5\u672c";
    TPayloadSpec spec;
    spec.Files = {{"c.txt", "charlie"}};
    spec.Password = password;
    const std::string exe = BuildProtectedExecutable(Scratch / "build-unicode/", spec);
    const std::string passwordFile = Scratch / "p\u00e4sswort.txt";
    WriteTextFile(passwordFile, password + "\n");
    EXPECT_EQ(Cli("VARNHOLD_PASSWORD='" + password + "'", {exe, Scratch / "env"}), 0) << Output;
    EXPECT_EQ(Cli("", {"--password-file", passwordFile, exe, Scratch / "file"}), 0) << Output;
    for (const char* folder : {"env", "file"})
        EXPECT_EQ(ReadWholeFile(Scratch / (std::string(folder) + "/c.txt")), "charlie") << folder;
}

TEST_F(CommandLine, OverwriteModes)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"replace", {"a.txt=alpha", "docs/b.txt=bravo"}},
        {"skip", {"a.txt=mine", "docs/b.txt=bravo"}},
        {"rename", {"a(1).txt=alpha", "a.txt=mine", "docs/b.txt=bravo"}},
    };
    for (const auto& [mode, expected] : cases) {
        const std::string out = Scratch / (std::string("out-") + mode + "/");
        WriteTextFile(out + "a.txt", "mine");
        EXPECT_EQ(Cli("VARNHOLD_PASSWORD='pass word '", {std::string("--overwrite=") + mode, Exe, out}), 0) << Output;
        EXPECT_EQ(FilesWithContent(out), expected) << mode;
    }
}

TEST_F(CommandLine, AskWithoutATerminalIsRefusedBeforeAnythingIsWritten)
{
    WriteTextFile(Out + "a.txt", "mine");
    EXPECT_EQ(Cli("VARNHOLD_PASSWORD='pass word '", {Exe, Out}), 1);
    EXPECT_NE(Output.find("there is no terminal to ask what to do with them: choose --overwrite"), std::string::npos)
        << Output;
    EXPECT_EQ(ListFiles(Out), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(ReadWholeFile(Out + "a.txt"), "mine");
    EXPECT_TRUE(WorkFoldersLeft().empty());
}

#ifndef _WIN32
TEST_F(CommandLine, AClosedStandardErrorLeavesNoWorkFolder)
{
    // The reader of the pipe is gone long before the wrong password is found
    // and said.
    const int code = RunProgram({"sh", "-c",
                                 "export TMPDIR=\"" + Temp + "\" VARNHOLD_PASSWORD=wrong; "
                                 "\"$0\" \"$@\" 2>&1 | :; exit 0",
                                 VARNHOLD_CLI, Exe, Out});
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(WorkFoldersLeft().empty());
}

// When the signal comes: as soon as the run has made its work folder (the
// payload copy), or once the first file has appeared in the output folder
// (the extraction straight into it).
enum TSignalMoment { smDuringTheCopy, smDuringTheExtraction };

class CommandLineTerminated : public CommandLine, public ::testing::WithParamInterface<TSignalMoment> {};

TEST_P(CommandLineTerminated, LeavesNoWorkFolderAndNoHalfWrittenFile)
{
    constexpr size_t FILE_SIZE = 32 * 1024 * 1024;
    TPayloadSpec spec;
    for (int i = 0; i < 3; ++i) {
        const auto bytes = RandomBytes(FILE_SIZE, 70 + i);
        spec.Files["big" + std::to_string(i) + ".bin"] = std::string(bytes.begin(), bytes.end());
    }
    spec.Switches = {"-m0=Copy"};
    const std::string big = BuildProtectedExecutable(Scratch / "big/", spec);

    // Everything the child needs is made before the fork: after it, only
    // async-signal-safe calls.
    const std::string tmpdir = "TMPDIR=" + Temp;
    const char* const environment[] = {tmpdir.c_str(), "VARNHOLD_PASSWORD=Secret pw", "LC_ALL=C", nullptr};
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execle(VARNHOLD_CLI, VARNHOLD_CLI, "--quiet", big.c_str(), Out.c_str(), static_cast<char*>(nullptr),
               environment);
        _exit(127);
    }
    const auto underWay = [&] {
        return GetParam() == smDuringTheCopy ? !WorkFoldersLeft().empty() : !ListFiles(Out).empty();
    };
    for (int i = 0; i < 20000 && !underWay(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 4);
    EXPECT_TRUE(WorkFoldersLeft().empty());
    for (const std::string& path : ListFiles(Out))
        EXPECT_EQ(ReadWholeFile(Out + path).size(), FILE_SIZE) << path << " is half written";
}

INSTANTIATE_TEST_SUITE_P(Moments, CommandLineTerminated, ::testing::Values(smDuringTheCopy, smDuringTheExtraction),
                         [](const auto& info) {
                             return std::string(info.param == smDuringTheCopy ? "DuringTheCopy" : "DuringTheExtraction");
                         });
#endif

}  // namespace
