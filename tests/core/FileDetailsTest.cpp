#include "extract/FileDetails.h"
#include "lang/LangText.h"
#include "platform/Paths.h"
#include "support/CatalogueFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using FileDetails = TCatalogueTest;

const TFileTime ZERO_TIME{};

// Gives the file at `path` the local time `when` ("2021-06-15 14:39:57") with
// the system's touch.
int Touch(const std::string& when, const std::string& path)
{
    // Under Wine the Linux touch runs too, and takes the file by its Linux path.
    return RunProgram({"/usr/bin/touch", "-d", when, HostPath(path)});
}

TEST_F(FileDetails, TimesGoToTheEvenSecondInLocalTime)
{
    struct TCase {
        const char* Touched;  // local time, as touch -d takes it
        TFileTime Expected;
    };
    const TCase cases[] = {
        {"2021-06-15 14:39:57", {2021, 6, 15, 14, 39, 56}},
        {"2021-06-15 14:39:56", {2021, 6, 15, 14, 39, 56}},
        {"2000-01-01 00:00:01", {2000, 1, 1, 0, 0, 0}},
        {"1999-12-31 23:59:59", {1999, 12, 31, 23, 59, 58}},
        {"1980-01-01 00:00:00", {1980, 1, 1, 0, 0, 0}},
        {"1979-12-31 23:59:59", ZERO_TIME},  // before the DOS form begins
        {"2108-01-01 00:00:00", ZERO_TIME},  // after it ends
    };
    const std::string file = Scratch / "file.txt";
    WriteTextFile(file, "12345");
    for (const TCase& c : cases) {
        ASSERT_EQ(Touch(c.Touched, file), 0) << c.Touched;
        const TFileDetails details = ReadFileDetails(file);
        EXPECT_EQ(details.Modified, c.Expected) << c.Touched << " gave " << FileTimeText(details.Modified);
        EXPECT_EQ(details.Size, 5) << c.Touched;
    }
}

TEST_F(FileDetails, WhatIsNotAFileHasNoSize)
{
    ForceDirectories(Scratch / "folder");
    ASSERT_EQ(Touch("2020-02-29 08:07:06", Scratch / "folder"), 0);
#ifndef _WIN32
    ASSERT_EQ(symlink((Scratch / "gone.txt").c_str(), (Scratch / "dangling").c_str()), 0);
#endif
    struct TCase {
        std::string Path;
        TFileTime Expected;
    };
    const TCase cases[] = {
        {Scratch / "folder", {2020, 2, 29, 8, 7, 6}},
        {Scratch / "missing.txt", ZERO_TIME},
        {Scratch / "dangling", ZERO_TIME},
        {"", ZERO_TIME},
    };
    for (const TCase& c : cases) {
        const TFileDetails details = ReadFileDetails(c.Path);
        EXPECT_EQ(details.Size, 0) << c.Path;
        EXPECT_EQ(details.Modified, c.Expected) << c.Path;
    }
}

TEST_F(FileDetails, SizeBeyondFourGiBIsShownWhole)
{
    UseCatalogue("Lang_English");
    const std::string big = Scratch / "big.bin";
    WriteTextFile(big, "");
    const std::filesystem::path bigPath(reinterpret_cast<const char8_t*>(big.c_str()));
    std::filesystem::resize_file(bigPath, 5000000000LL);  // sparse: no disk needed
    const TFileDetails details = ReadFileDetails(big);
    EXPECT_EQ(details.Size, 5000000000LL);
    EXPECT_EQ(FileSizeLine(details.Size), "5000000000 bytes");
}

TEST_F(FileDetails, LinesInTheUsersLanguage)
{
    const TFileTime time{2021, 6, 15, 14, 39, 56};
    struct TCase {
        const char* Catalogue;
        const char* SizeLine;
        const char* TimeLine;
    };
    const TCase cases[] = {
        {"Lang_English", "1234 bytes", "modified on: 2021-06-15 14:39:56"},
        {"Lang_Deutsch", "1234 Bytes", "geändert am: 2021-06-15 14:39:56"},
        {"Lang_Spanish", "1234 bytes", " modificado en: 2021-06-15 14:39:56"},  // blanks around the unit go
        {"Lang_Japanese", "1234 バイト", "修正: 2021-06-15 14:39:56"},
    };
    for (const TCase& c : cases) {
        UseCatalogue(c.Catalogue);
        EXPECT_EQ(FileSizeLine(1234), c.SizeLine) << c.Catalogue;
        EXPECT_EQ(FileTimeLine(time), c.TimeLine) << c.Catalogue;
    }
    EXPECT_EQ(FileTimeText(ZERO_TIME), "1899-12-30 00:00:00");
}

TEST_F(FileDetails, AUnitWithoutPlaceholderIsUsedWhole)
{
    g_sLangFile = Scratch / "en.txt";
    const std::pair<const char*, const char*> cases[] = {
        {"Byte(s)", "7 Byte(s)"},
        {"  {0}  octets  ", "7 octets"},
        {"{0}", "7 "},
    };
    for (const auto& [unit, line] : cases) {
        WriteTextFile(g_sLangFile, std::string("[Main]\n02000982=\"") + unit + "\"\n");
        EXPECT_EQ(FileSizeLine(7), line) << unit;
    }
}

}  // namespace
