// How the reader answers the library's call-backs, and how the callers'
// functions and their failures reach back out of a library call.
#include "platform/DynamicLibrary.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "sevenzip/SevenZipStream.h"
#include "SevenZipFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const std::map<std::string, std::string> THREE_FILES = {{"a.txt", "alpha"}, {"b.txt", "bravo"}, {"c.txt", "charlie"}};

// Hands the library one file per item it asks for, named after the index.
struct TStreamCollector {
    std::string Folder;
    std::vector<uint32_t> Asked;

    static HRESULT GetStream(void* sender, uint32_t index, ISequentialOutStream** stream)
    {
        auto* self = static_cast<TStreamCollector*>(sender);
        self->Asked.push_back(index);
        auto* file = new TFileStream(self->Folder + std::to_string(index), TFileMode::fmCreate);
        TComPtr<ISequentialOutStream> adapter(static_cast<IOutStream*>(new T7zStream(file, soOwned)));
        *stream = adapter.Detach();
        return S_OK;
    }

    std::string Written(uint32_t index) const { return ReadWholeFile(Folder + std::to_string(index)); }
};

TEST_F(SevenZipBinding, SelectedAndEverythingGoThroughTheCallersStreams)
{
    const auto reader = Open(MakeArchive(THREE_FILES, {std::string("-p") + PASSWORD, "-ms=on"}));
    const uint32_t a = IndexOf(*reader.Get(), "a.txt"), c = IndexOf(*reader.Get(), "c.txt");
    ForceDirectories(Scratch / "sel");
    TStreamCollector collector{Scratch / "sel/", {}};

    // Out of order and with a repeat: the library still sees each item once, in order.
    const uint32_t chosen[] = {c, a, c};
    reader->ExtractSelected(chosen, 3, false, &collector, TStreamCollector::GetStream);
    EXPECT_EQ(std::set<uint32_t>(collector.Asked.begin(), collector.Asked.end()), (std::set<uint32_t>{a, c}));
    EXPECT_EQ(collector.Asked.size(), 2u);
    EXPECT_EQ(collector.Written(a), "alpha");
    EXPECT_EQ(collector.Written(c), "charlie");
    EXPECT_EQ(reader->ItemOperationResult(a), 0);
    EXPECT_EQ(reader->ItemOperationResult(c), 0);

    collector.Asked.clear();
    reader->ExtractEverything(false, &collector, TStreamCollector::GetStream);
    ASSERT_EQ(collector.Asked.size(), reader->ItemCount());
    for (uint32_t i = 0; i < reader->ItemCount(); ++i)
        EXPECT_EQ(collector.Written(i), THREE_FILES.at(reader->ItemPath(i)));

    // Testing decodes every item but asks for no stream.
    collector.Asked.clear();
    reader->ExtractEverything(true, &collector, TStreamCollector::GetStream);
    EXPECT_TRUE(collector.Asked.empty());
    for (uint32_t i = 0; i < reader->ItemCount(); ++i)
        EXPECT_EQ(reader->ItemOperationResult(i), 0);
}

TEST_F(SevenZipBinding, IndicesTheArchiveDoesNotHaveNeverReachTheLibrary)
{
    const auto reader = Open(MakeArchive(THREE_FILES, {std::string("-p") + PASSWORD}));
    const uint32_t count = reader->ItemCount();
    TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
    TStreamCollector collector{Scratch.Path(), {}};
    const uint32_t withBadIndex[] = {0, count + 100};
    const std::pair<std::string, std::function<void()>> calls[] = {
        {SystemWords("The parameter is incorrect", 0x80070057), [&] { reader->ExtractItemToStream(count, &target, false); }},
        {SystemWords("The parameter is incorrect", 0x80070057), [&] { reader->ExtractItemToStream(count + 100, &target, false); }},
        {SystemWords("The parameter is incorrect", 0x80070057),
         [&] { reader->ExtractSelected(withBadIndex, 2, false, &collector, TStreamCollector::GetStream); }},
        {"Invalid pointer", [&] { reader->ExtractSelected(nullptr, 2, false, &collector, TStreamCollector::GetStream); }},
    };
    for (const auto& [message, call] : calls) {
        try {
            call();
            ADD_FAILURE() << "accepted; expected " << message;
        } catch (const EVarnholdError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(reader->ItemOperationResult(0), -1);
    }
    EXPECT_TRUE(collector.Asked.empty());
    EXPECT_EQ(target.Size(), 0);
    // An empty selection is no error: nothing is extracted.
    reader->ExtractSelected(nullptr, 0, false, &collector, TStreamCollector::GetStream);
    EXPECT_TRUE(collector.Asked.empty());
}

// A call-back of the caller's that raises: the error must come out of the
// library call as itself, and the reader must stay usable.
struct TThrowingCase {
    const char* Tag;
    const char* Source;
    std::function<void(I7zArchiveReader&, const std::string& scratch)> Run;
};
std::ostream& operator<<(std::ostream& out, const TThrowingCase& c) { return out << c.Tag; }

HRESULT ThrowingGetStream(void*, uint32_t, ISequentialOutStream**)
{
    throw EVarnholdError("raised in GetStream");
}
HRESULT ThrowingPassword(void*, std::string&)
{
    throw EVarnholdError("raised in the password function");
}
HRESULT ThrowingProgress(void*, bool, int64_t)
{
    throw EVarnholdError("raised in the progress function");
}

class CallbackErrors : public SevenZipBinding, public ::testing::WithParamInterface<TThrowingCase> {};

TEST_P(CallbackErrors, ComeOutOfTheLibraryCallAsThemselves)
{
    const auto reader = Open(MakeArchive(THREE_FILES, {std::string("-p") + PASSWORD}));
    try {
        GetParam().Run(*reader.Get(), Scratch.Path());
        FAIL() << "the call went through";
    } catch (const EVarnholdError& error) {
        EXPECT_EQ(std::string(error.what()), std::string("raised in ") + GetParam().Source);
    }
    reader->SetPasswordProvider(nullptr, nullptr);
    reader->SetProgressSink(nullptr, nullptr);
    reader->SetPassword(PASSWORD);
    reader->ExtractToFolder(Scratch / "after");
    EXPECT_EQ(ReadWholeFile(Scratch / "after/b.txt"), "bravo");
}

INSTANTIATE_TEST_SUITE_P(Raising, CallbackErrors, ::testing::Values(
    TThrowingCase{"GetStream", "GetStream", [](I7zArchiveReader& reader, const std::string&) {
        reader.ExtractEverything(false, nullptr, ThrowingGetStream);
    }},
    TThrowingCase{"Password", "the password function", [](I7zArchiveReader& reader, const std::string& scratch) {
        reader.SetPassword("");
        reader.SetPasswordProvider(nullptr, ThrowingPassword);
        reader.ExtractToFolder(scratch + "out");
    }},
    TThrowingCase{"Progress", "the progress function", [](I7zArchiveReader& reader, const std::string& scratch) {
        reader.SetProgressSink(nullptr, ThrowingProgress);
        TFileStream target(scratch + "target.bin", TFileMode::fmCreate);
        reader.ExtractItemToStream(0, &target, false);
    }}),
    [](const auto& info) { return std::string(info.param.Tag); });

struct TScriptedProvider {
    std::vector<HRESULT> Answers;  // one per call; the password is given with S_OK
    int Calls = 0;
    static HRESULT Provide(void* sender, std::string& password)
    {
        auto* self = static_cast<TScriptedProvider*>(sender);
        const HRESULT answer = self->Answers.at(static_cast<size_t>(self->Calls++));
        if (answer == S_OK)
            password = PASSWORD;
        return answer;
    }
};

TEST_F(SevenZipBinding, ADeclinedPasswordIsAskedForAgainAndAGivenOneIsKept)
{
    const auto reader = Open(MakeArchive(THREE_FILES, {std::string("-p") + PASSWORD}), "");
    TScriptedProvider provider{{E_ABORT, S_OK}};
    reader->SetPasswordProvider(&provider, TScriptedProvider::Provide);
    TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
    EXPECT_THROW(reader->ExtractItemToStream(0, &target, false), EVarnholdError);
    EXPECT_EQ(target.Size(), 0);
    for (int round = 0; round < 2; ++round) {
        reader->ExtractToFolder(Scratch / "out");
        EXPECT_EQ(ReadWholeFile(Scratch / "out/c.txt"), "charlie");
    }
    EXPECT_EQ(provider.Calls, 2);
}

TEST_F(SevenZipBinding, APasswordProviderOpensEncryptedHeaders)
{
    const std::string archive = MakeArchive(THREE_FILES, {std::string("-p") + PASSWORD, "-mhe=on"});
    TScriptedProvider provider{{S_OK}};
    TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
    reader->SetPasswordProvider(&provider, TScriptedProvider::Provide);
    reader->OpenFromFile(archive);
    EXPECT_EQ(reader->ItemCount(), 3u);
    reader->ExtractToFolder(Scratch / "out");
    EXPECT_EQ(ReadWholeFile(Scratch / "out/a.txt"), "alpha");
    EXPECT_EQ(provider.Calls, 1) << "asked while opening, then known";
}

TEST_F(SevenZipBinding, TestModeLeavesTheTargetStreamAlone)
{
    const std::string archive = MakeArchive({{"a.txt", std::string(3000, 'a')}}, {"-pright", "-m0=Copy"});
    TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
    const std::pair<const char*, int32_t> cases[] = {{"right", 0}, {"wrong", 1}};
    for (const auto& [password, failed] : cases) {
        const auto reader = Open(archive, password);
        reader->ExtractItemToStream(0, &target, true);
        EXPECT_EQ(target.Size(), 0);
        EXPECT_EQ(reader->ItemOperationResult(0) != 0, failed != 0) << password;
    }
}

// The call-back objects themselves, reached as the library reaches them.
class ReaderCallbacks : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reader = CreateArchiveReader(Format7zClassId, VARNHOLD_7Z_LIBRARY);
        Library = LoadModule(VARNHOLD_7Z_LIBRARY);
        SysFreeStringProc = reinterpret_cast<void (*)(BSTR)>(GetStringAllocatorSymbol(Library, "SysFreeString"));
        ASSERT_NE(SysFreeStringProc, nullptr);
    }
    void TearDown() override { FreeModule(Library); }

    template <class T>
    TComPtr<T> Query(const GUID& iid)
    {
        TComPtr<T> result;
        EXPECT_EQ(Reader->QueryInterface(iid, reinterpret_cast<void**>(result.Put())), S_OK);
        return result;
    }

    // The password the reader hands out, freed as the library would free it.
    std::pair<HRESULT, std::wstring> AskPassword()
    {
        BSTR text = nullptr;
        const HRESULT result = Query<ICryptoGetTextPassword>(IID_ICryptoGetTextPassword)->CryptoGetTextPassword(&text);
        std::wstring copy = text ? std::wstring(text) : L"<none>";
        if (text)
            SysFreeStringProc(text);
        return {result, copy};
    }

    TComPtr<I7zArchiveReader> Reader;
    TModuleHandle Library = nullptr;
    void (*SysFreeStringProc)(BSTR) = nullptr;
};

TEST_F(ReaderCallbacks, OneObjectBehindEveryInterface)
{
    const auto progress = Query<IProgress>(IID_IProgress);
    const auto extract = Query<IArchiveExtractCallback>(IID_IArchiveExtractCallback);
    EXPECT_EQ(static_cast<IProgress*>(extract.Get()), progress.Get()) << "IProgress is the extract call-back";
    for (const GUID& iid : {IID_IArchiveOpenCallback, IID_ICryptoGetTextPassword, IID_IArchiveOpenVolumeCallback,
                            IID_IArchiveOpenSetSubArchiveName, IID_IProgress}) {
        const auto other = Query<IUnknown>(iid);
        EXPECT_EQ(Query<IUnknown>(IID_IUnknown).Get(), [&] {
            TComPtr<IUnknown> identity;
            other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.Put()));
            return identity.Get();
        }());
    }
    // What newer libraries ask for (here IArchiveExtractCallbackMessage2) is not offered.
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(Reader->QueryInterface(SevenZipIid(0x06, 0x22), &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
}

TEST_F(ReaderCallbacks, PasswordRequests)
{
    EXPECT_EQ(AskPassword(), std::make_pair(S_FALSE, std::wstring(L"<none>"))) << "nothing known, nobody to ask";

    Reader->SetPassword("pä");
    EXPECT_EQ(AskPassword(), std::make_pair(S_OK, std::wstring(L"p\u00E4")));
    Reader->SetPassword("p\xF0\x9F\x98\x80");  // beyond U+FFFF: a surrogate pair
    EXPECT_EQ(AskPassword(), std::make_pair(S_OK, std::wstring{L'p', 0xD83D, 0xDE00}));
    Reader->SetPassword("\xFF(\xC3");  // not UTF-8: the bytes as the library keeps them, never a crash
    EXPECT_EQ(AskPassword(), std::make_pair(S_OK, std::wstring{0xEFFF, L'(', 0xEFC3}));

    TScriptedProvider provider{{S_FALSE, S_OK}};
    Reader->SetPassword("");
    Reader->SetPasswordProvider(&provider, TScriptedProvider::Provide);
    EXPECT_EQ(AskPassword(), std::make_pair(S_FALSE, std::wstring(L"<none>"))) << "a refusal hands out nothing";
    EXPECT_EQ(AskPassword().first, S_OK);
    EXPECT_EQ(AskPassword().second, L"p\u00E4ssword 1") << "kept: not asked a third time";
    EXPECT_EQ(provider.Calls, 2);
}

struct TProgressLog {
    std::vector<std::pair<bool, int64_t>> Reports;
    static HRESULT Report(void* sender, bool isTotal, int64_t value)
    {
        static_cast<TProgressLog*>(sender)->Reports.emplace_back(isTotal, value);
        return 7;  // handed back unchanged
    }
};

TEST_F(ReaderCallbacks, ProgressAndTheCallsThatAnswerOnlyZero)
{
    const auto progress = Query<IProgress>(IID_IProgress);
    EXPECT_EQ(progress->SetTotal(10), S_OK) << "no sink yet";
    TProgressLog log;
    Reader->SetProgressSink(&log, TProgressLog::Report);
    EXPECT_EQ(progress->SetCompleted(nullptr), S_OK);
    const uint64_t done = 42;
    EXPECT_EQ(progress->SetTotal(100), 7);
    EXPECT_EQ(progress->SetCompleted(&done), 7);
    EXPECT_EQ(log.Reports, (std::vector<std::pair<bool, int64_t>>{{true, 100}, {false, 42}}));

    const auto open = Query<IArchiveOpenCallback>(IID_IArchiveOpenCallback);
    const uint64_t files = 3, bytes = 4;
    EXPECT_EQ(open->SetTotal(&files, &bytes), S_OK);
    EXPECT_EQ(open->SetCompleted(&files, nullptr), S_OK);
    EXPECT_EQ(log.Reports.size(), 2u) << "opening reports nothing";

    const auto volumes = Query<IArchiveOpenVolumeCallback>(IID_IArchiveOpenVolumeCallback);
    IInStream* volume = reinterpret_cast<IInStream*>(1);
    EXPECT_EQ(volumes->GetStream(L"archive.7z.002", &volume), S_OK);
    EXPECT_EQ(volume, nullptr);
    PROPVARIANT value{};
    EXPECT_EQ(volumes->GetProperty(kpidName, &value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(Query<IArchiveOpenSetSubArchiveName>(IID_IArchiveOpenSetSubArchiveName)->SetSubArchiveName(L"x"), S_OK);

    // Outside an extraction call no stream is handed out, whatever the mode.
    const auto extract = Query<IArchiveExtractCallback>(IID_IArchiveExtractCallback);
    for (int32_t mode : {0, 1, 2}) {
        ISequentialOutStream* stream = reinterpret_cast<ISequentialOutStream*>(1);
        EXPECT_EQ(extract->GetStream(0, &stream, mode), S_OK);
        EXPECT_EQ(stream, nullptr);
    }
    EXPECT_EQ(extract->PrepareOperation(0), S_OK);
    EXPECT_EQ(extract->SetOperationResult(0), S_OK);
}

}  // namespace
