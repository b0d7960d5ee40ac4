#include "extract/Worker.h"

#include "extract/Payload.h"
#include "extract/WorkFolder.h"
#include "platform/DebugOutput.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/Paths.h"
#include "platform/PauseGate.h"
#include "platform/TextTrim.h"
#include "sevenzip/SevenZip.h"

#include <chrono>

namespace {

constexpr int32_t OPERATION_OK = 0;
constexpr int OUTPUT_FOLDER_ATTEMPTS = 7;
constexpr auto OUTPUT_FOLDER_WAIT = std::chrono::milliseconds(500);
constexpr size_t NAMES_IN_A_MESSAGE = 3;

const TThreaEncryptFile::TOutcome DONE{1, 0};
const TThreaEncryptFile::TOutcome FOLDER_FAILED{0, 1};
const TThreaEncryptFile::TOutcome WRONG_PASSWORD{0, 2};
const TThreaEncryptFile::TOutcome FAILED{0, 3};

// "a", "b", "c" and 4 more
std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (size_t i = 0; i < names.size() && i < NAMES_IN_A_MESSAGE; ++i)
        list += (i ? ", \"" : "\"") + names[i] + "\"";
    if (names.size() > NAMES_IN_A_MESSAGE)
        list += " and " + std::to_string(names.size() - NAMES_IN_A_MESSAGE) + " more";
    return list;
}

// A work folder that goes with everything in it whichever way the stage ends.
class TWorkFolderGuard {
public:
    explicit TWorkFolderGuard(int64_t requiredBytes) : Path(CreateWorkFolder(requiredBytes)) {}
    ~TWorkFolderGuard() { DeleteFolderTree(Path); }
    TWorkFolderGuard(const TWorkFolderGuard&) = delete;
    TWorkFolderGuard& operator=(const TWorkFolderGuard&) = delete;
    const std::string Path;
};

}  // namespace

TThreaEncryptFile::TThreaEncryptFile(TRunSettings& settings, IWorkerUi& ui) : FSettings(settings), FUi(ui) {}

TThreaEncryptFile::~TThreaEncryptFile()
{
    WaitFor();
}

void TThreaEncryptFile::Resume()
{
    if (!FThread.joinable())
        FThread = std::thread([this] { Execute(); });
}

void TThreaEncryptFile::WaitFor()
{
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

std::string TThreaEncryptFile::ErrorText() const
{
    std::lock_guard lock(FErrorMutex);
    return FErrorText;
}

void TThreaEncryptFile::SetErrorText(const std::string& text)
{
    std::lock_guard lock(FErrorMutex);
    FErrorText = text;
}

void TThreaEncryptFile::Execute()
{
    TOutcome outcome = FAILED;
    try {
        outcome = Run();
    } catch (const std::exception& error) {
        // A cancel makes the library give up with an error of its own; that
        // is the cancel the user asked for, not a failure to report.
        if (IsSet(g_bCancel)) {
            outcome = DONE;
        } else {
            SetErrorText(error.what());
            outcome = FAILED;
        }
    }
    FUi.PostExtractDone(outcome.first, outcome.second);
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::Run()
{
    // 1. Output folder; whether it could be made is decided after the password test.
    const std::string out = IncludeTrailingPathDelimiter(FSettings.OutputDir);
    if (!DirectoryExists(out))
        ForceDirectories(out);

    // 2. Payload copy.
    CopyPayload(FSettings.ExeFile, g_sWorkDir, FSettings.PayloadFile, [this] { ShowTotalSize(); });
    if (IsSet(g_bCancel))
        return DONE;

    // 3. Archive library.
    SaveResourceToFile("7z_dll", "FILE", FSettings.DllFile);
    if (IsSet(g_bCancel))
        return DONE;

    // 4. Open. The reader is released on every way out of this function.
    TComPtr<I7zArchiveReader> reader = CreateArchiveReader(Format7zClassId, FSettings.DllFile);
    return RunWithReader(*reader.Get(), out);
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::RunWithReader(I7zArchiveReader& reader, const std::string& out)
{
    reader.SetProgressSink(this, OnArchiveProgress);
    reader.OpenFromFile(FSettings.PayloadFile);
    reader.SetPasswordProvider(this, OnArchivePassword);
    reader.SetPassword(FSettings.PasswordText);
    const uint32_t count = reader.ItemCount();

    // 5. Survey. A path that would leave the output folder is refused before
    // anything is written there.
    g_nFileCount = 0;
    bool conflict = false;
    int64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const std::string path = reader.ItemPath(i);
        if (PathLeavesFolder(path))
            throw EVarnholdError(FormatText("The archive holds a file outside its own folder: \"%s\"", {path}));
        if (reader.ItemIsDirectory(i))
            continue;
        if (IsSet(g_bCancel))
            break;
        g_nFileCount.fetch_add(1);
        total += reader.ItemSize(i);
        if (FileExists(out + path))
            conflict = true;
    }
    if (IsSet(g_bCancel))
        return DONE;
    if (conflict) {
        std::string refusal;
        FUi.Synchronize([&] { refusal = FUi.ConflictRefusal(); });
        if (!refusal.empty())
            throw EVarnholdError(refusal);
    }

    // 6. Password test.
    if (PasswordTestFails(reader, count, total))
        return WRONG_PASSWORD;

    // 7. Output folder check: it may take a moment to appear (a network share).
    for (int attempts = 0; !DirectoryExists(out);) {
        ForceDirectories(out);
        if (++attempts >= OUTPUT_FOLDER_ATTEMPTS || IsSet(g_bCancel))
            break;
        std::this_thread::sleep_for(OUTPUT_FOLDER_WAIT);
    }
    if (!DirectoryExists(out))
        return FOLDER_FAILED;

    // 8. Extraction.
    SetFlag(g_bStageDone, false);
    g_nFilesPlaced = 0;
    SetFlag(g_bExtracting, true);
    if (!conflict) {
        ExtractDirect(reader, count, out);
        SetFlag(g_bStageDone, true);
        return DONE;
    }
    TWorkFolderGuard staging(total);
    SetFlag(g_bExtractToTemp, true);
    reader.ExtractToFolder(staging.Path);
    SetFlag(g_bExtractToTemp, false);
    SetFlag(g_bStageDone, true);

    // 9.
    if (IsSet(g_bCancel))
        return DONE;

    // 10. Placement; the staging folder goes when `staging` does.
    PlaceFiles(reader, count, out, staging.Path);
    if (!FNotPlaced.empty())
        throw EVarnholdError(FormatText("These files could not be placed in \"%s\": %s",
                                        {out, NameList(FNotPlaced)}));
    return DONE;
}

TMarkerVerdict TestMarker(I7zArchiveReader& reader, uint32_t index, const std::string& trialFile)
{
    const int64_t size = reader.ItemSize(index);
    int64_t written = 0;
    {
        TFileStream stream(trialFile, TFileMode::fmCreate);
        reader.ExtractItemToStream(index, &stream, false);
        written = stream.Size();
        stream.Close();
    }
    DeleteFile(trialFile);
    // The library may write undecodable bytes for a wrong password (a stored
    // item, say); only a clean result of the declared size passes.
    const int32_t result = reader.ItemOperationResult(index);
    const bool garbled = result != OPERATION_OK && result != -1;
    if (size != 0 && (written == 0 || garbled))
        return mvWrongPassword;
    if (size != 0 && written == size)
        return mvPassed;
    return mvUndecided;
}

bool TThreaEncryptFile::PasswordTestFails(I7zArchiveReader& reader, uint32_t count, int64_t total)
{
    int32_t failures = 0;
    TWorkFolderGuard trial(total);
    for (uint32_t i = 0; i < count; ++i) {
        if (reader.ItemIsDirectory(i) || reader.ItemPath(i) != MARKER_NAME)
            continue;
        if (IsSet(g_bCancel))
            break;
        const TMarkerVerdict verdict = TestMarker(reader, i, trial.Path + MARKER_NAME);
        if (verdict == mvWrongPassword) {
            failures = 1;
            break;
        }
        if (verdict == mvPassed) {
            failures = 0;
            break;
        }
    }
    return failures > 0;
}

void TThreaEncryptFile::ExtractDirect(I7zArchiveReader& reader, uint32_t count, const std::string& out)
{
    try {
        reader.ExtractToFolder(out);
    } catch (...) {
        // Nothing of this archive was in the folder before, so a file the
        // library had begun and not finished is ours to remove: no half-written
        // file stays under its final name.
        for (uint32_t i = 0; i < count; ++i) {
            if (!reader.ItemIsDirectory(i) && reader.ItemOperationResult(i) != OPERATION_OK)
                DeleteFile(out + reader.ItemPath(i));
        }
        DeleteMarkerFile(out);
        throw;
    }
    DeleteMarkerFile(out);

    std::vector<std::string> damaged;
    for (uint32_t i = 0; i < count; ++i) {
        if (!reader.ItemIsDirectory(i) && reader.ItemOperationResult(i) != OPERATION_OK)
            damaged.push_back(reader.ItemPath(i));
    }
    if (!damaged.empty())
        throw EVarnholdError(FormatText("The archive is damaged; these files could not be extracted whole: %s",
                                        {NameList(damaged)}));
}

void TThreaEncryptFile::ShowTotalSize()
{
    const int64_t total = g_nTotalSize;
    FUi.Synchronize([this, total] { FUi.ShowTotalSize(total); });
}

void TThreaEncryptFile::AskOverWrite()
{
    FUi.Synchronize([this] { FOverWriteMode = FUi.AskOverWrite(FExistsFile, FNewFile); });
}

int32_t OnArchiveProgress(void*, bool isTotal, int64_t value)
{
    PausePoint();
    if (IsSet(g_bCancel))
        return 1;
    (isTotal ? g_nTotalSize : g_nCurrentSize) = value;
    if (DebugOutputEnabled())
        OutputDebugString((isTotal ? "g_nTotalSize-------------***" : "g_nCurrentSize-------------***") +
                          std::to_string(value));
    return 0;
}

int32_t OnArchivePassword(void* sender, std::string& password)
{
    auto* worker = static_cast<TThreaEncryptFile*>(sender);
    bool accepted = false;
    std::string typed;
    worker->FUi.Synchronize([&] { accepted = worker->FUi.AskPassword(typed); });
    if (accepted) {
        OutputDebugString("password-------------***" + password);
        password = TrimText(typed, " \t\r\n");
        return 0;
    }
    worker->FUi.Synchronize([worker] { worker->FUi.CloseMainWindow(); });
    return 1;
}
