// No wrong password gets past the marker test, whatever the compression
// method: the library may hand out garbage for a wrong password (a stored
// item always does), and that garbage must never reach the user's folder.
#include "extract/WorkFolder.h"
#include "extract/Worker.h"
#include "sevenzip/SevenZip.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int TRIES_PER_PAYLOAD = 500;  // solid and not: 1,000 per method
const char* const RIGHT_PASSWORD = "the right one";

struct TMethodCase {
    const char* Name;
    const char* Method;
};
std::ostream& operator<<(std::ostream& out, const TMethodCase& c) { return out << c.Name; }

class WrongPasswords : public ::testing::TestWithParam<TMethodCase> {};

std::string RandomPassword(std::mt19937& generator)
{
    std::uniform_int_distribution<int> length(1, 16), character(0x20, 0x7E);
    std::string password(static_cast<size_t>(length(generator)), ' ');
    for (char& c : password)
        c = static_cast<char>(character(generator));
    return password;
}

TEST_P(WrongPasswords, NoneIsAccepted)
{
    TScratchFolder scratch;
    const auto markerBytes = RandomBytes(300, 17);
    WriteTextFile(scratch / ("src/" + std::string(MARKER_NAME)), std::string(markerBytes.begin(), markerBytes.end()));
    WriteTextFile(scratch / "src/notes.txt", "some of the user's text\n");
    WriteTextFile(scratch / "src/data/table.csv", "a,b,c\n1,2,3\n");
    std::mt19937 generator(std::random_device{}());
    int tried = 0;
    for (const char* solid : {"-ms=on", "-ms=off"}) {
        const std::string archive = scratch / (std::string("payload") + solid + ".7z");
        Make7zArchive(archive, scratch / "src", {GetParam().Method, solid, std::string("-p") + RIGHT_PASSWORD});
        TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
        reader->OpenFromFile(archive);
        uint32_t marker = 0;
        while (reader->ItemPath(marker) != MARKER_NAME)
            ++marker;

        reader->SetPassword(RIGHT_PASSWORD);
        ASSERT_EQ(TestMarker(*reader.Get(), marker, scratch / "trial"), mvPassed) << solid;
        for (int i = 0; i < TRIES_PER_PAYLOAD; ++i) {
            const std::string password = RandomPassword(generator);
            if (password == RIGHT_PASSWORD)
                continue;
            reader->SetPassword(password);
            TMarkerVerdict verdict = mvUndecided;
            try {
                verdict = TestMarker(*reader.Get(), marker, scratch / "trial");
            } catch (const std::exception&) {
                verdict = mvWrongPassword;  // an error is a refusal too
            }
            ASSERT_EQ(verdict, mvWrongPassword) << solid << " accepted \"" << password << "\"";
            ++tried;
        }
    }
    EXPECT_GE(tried, 2 * TRIES_PER_PAYLOAD - 2);
}

INSTANTIATE_TEST_SUITE_P(Methods, WrongPasswords, ::testing::Values(
    TMethodCase{"LZMA", "-m0=LZMA"}, TMethodCase{"LZMA2", "-m0=LZMA2"}, TMethodCase{"PPMd", "-m0=PPMd"},
    TMethodCase{"BZip2", "-m0=BZip2"}, TMethodCase{"Deflate", "-m0=Deflate"}, TMethodCase{"Copy", "-m0=Copy"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
