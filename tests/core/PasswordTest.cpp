// The password crosses from the program's UTF-8 to the library's wide text
// (UTF-16 BSTRs from OLEAUT32 on Windows): the right one must open the
// archive in any script, and one that differs by a single accent must not.
// The worker also leaves nothing in its work folder that cannot go, above
// all the loaded library, which Windows does not let anyone delete.
#include "support/WorkerFixture.h"

namespace {

struct TPasswordCase {
    const char* Name;
    const char* ArchivePassword;
    const char* TypedPassword;
    bool Opens;
};
std::ostream& operator<<(std::ostream& out, const TPasswordCase& c) { return out << c.Name; }

class Passwords : public WorkerRun, public ::testing::WithParamInterface<TPasswordCase> {};

TEST_P(Passwords, OpenTheArchiveOnlyWhenRight)
{
    const TPasswordCase& c = GetParam();
    TPayloadSpec spec = Spec({{"notes.txt", "the user's notes"}});
    spec.Password = c.ArchivePassword;
    Build(spec);
    Settings.PasswordText = c.TypedPassword;
    if (c.Opens) {
        EXPECT_EQ(Run(), DONE) << Error;
        EXPECT_EQ(ReadWholeFile(Out("notes.txt")), "the user's notes");
    } else {
        EXPECT_EQ(Run(), WRONG_PASSWORD) << Error;
        EXPECT_TRUE(ListFiles(Settings.OutputDir).empty());
    }
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, Passwords, ::testing::Values(
    TPasswordCase{"AsciiRight", "Secret pw", "Secret pw", true},
    TPasswordCase{"AsciiWrong", "Secret pw", "Secret pW", false},
    TPasswordCase{"LatinRight", "P\u00e4ssw\u00f6rd \u00df", "P\u00e4ssw\u00f6rd \u00df", true},
    TPasswordCase{"LatinOneAccentOff", "P\u00e4ssw\u00f6rd \u00df", "P\u00e4ssw\u00f3rd \u00df", false},
    TPasswordCase{"LatinWithoutAccents", "P\u00e4ssw\u00f6rd", "Passwrd", false},
    TPasswordCase{"CyrillicAndCjkRight", "\u043f\u0430\u0440\u043e\u043b\u044c \u5bc6\u7801",
                  "\u043f\u0430\u0440\u043e\u043b\u044c \u5bc6\u7801", true},
    TPasswordCase{"CjkWrong", "\u5bc6\u7801", "\u5bc6\u78bc", false}),
    [](const auto& info) { return std::string(info.param.Name); });

enum TRunEnd { reDone, reWrongPassword, reNotProtected };

class WorkFolderAfterTheRun : public WorkerRun, public ::testing::WithParamInterface<TRunEnd> {};

TEST_P(WorkFolderAfterTheRun, GoesWhollyOnceTheLibraryIsUnloaded)
{
    Build(Spec({{"a.txt", "alpha"}}));
    if (GetParam() == reWrongPassword)
        Settings.PasswordText = "not it";
    if (GetParam() == reNotProtected) {
        WriteBytes(Scratch / "plain.exe", RandomBytes(800000, 3));
        Settings.ExeFile = Scratch / "plain.exe";
    }
    EXPECT_NE(Run(), FOLDER_FAILED) << Error;
    EXPECT_FALSE(LibraryIsLoaded(Settings.DllFile));
    DeleteFolderTree(g_sWorkDir);
    EXPECT_FALSE(DirectoryExists(g_sWorkDir)) << "something in the work folder is still held open";
}

std::string RunEndName(const ::testing::TestParamInfo<TRunEnd>& info)
{
    return info.param == reDone ? "Done" : info.param == reWrongPassword ? "WrongPassword" : "NotProtected";
}

INSTANTIATE_TEST_SUITE_P(Ends, WorkFolderAfterTheRun, ::testing::Values(reDone, reWrongPassword, reNotProtected),
                         RunEndName);

}  // namespace
