#include "extract/Worker.h"

#include "extract/Payload.h"
#include "extract/WorkFolder.h"
#include "platform/DebugOutput.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/Paths.h"
#include "platform/PauseGate.h"
#include "platform/Resources.h"
#include "platform/TempFolder.h"
#include "platform/TextTrim.h"
#include "sevenzip/SevenZip.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

constexpr int32_t OPERATION_OK = 0;
constexpr int OUTPUT_FOLDER_ATTEMPTS = 7;
constexpr auto OUTPUT_FOLDER_WAIT = std::chrono::milliseconds(500);
constexpr int64_t MIB = 1024 * 1024;

constexpr TExtractOutcome DONE = TExtractOutcome::eoDone;
constexpr TExtractOutcome FOLDER_FAILED = TExtractOutcome::eoOutputFolderFailed;
constexpr TExtractOutcome WRONG_PASSWORD = TExtractOutcome::eoWrongPassword;
constexpr TExtractOutcome FAILED = TExtractOutcome::eoFailed;

// A work folder that goes with everything in it whichever way the stage ends.
class TWorkFolderGuard {
public:
    explicit TWorkFolderGuard(std::string path) : Path(std::move(path)) {}
    ~TWorkFolderGuard() { DeleteFolderTree(Path); }
    TWorkFolderGuard(const TWorkFolderGuard&) = delete;
    TWorkFolderGuard& operator=(const TWorkFolderGuard&) = delete;
    const std::string Path;
};

// Whether the file system of `folder` has room for `bytes`, counted in
// whole MiB as the work folders are chosen, rounded up.
bool HasRoomFor(const std::string& folder, int64_t bytes)
{
    return static_cast<int64_t>(GetDiskFreeMB(folder)) >= (bytes + MIB - 1) / MIB;
}

// The six bytes every 7z archive begins with.
bool StartsLikeAnArchive(const std::string& payloadFile)
{
    static const char SIGNATURE[6] = {'7', 'z', '\xBC', '\xAF', '\x27', '\x1C'};
    char start[sizeof SIGNATURE] = {};
    try {
        TFileStream payload(payloadFile, TFileMode::fmOpenRead);
        return payload.Read(start, sizeof start) == static_cast<int64_t>(sizeof start) &&
               std::equal(start, start + sizeof start, SIGNATURE);
    } catch (const EVarnholdError&) {
        return false;
    }
}

[[noreturn]] void Raise(TFailure failure)
{
    const std::string diagnostic = FailureDiagnostic(failure);
    throw EVarnholdError(std::move(failure), diagnostic);
}

// No base folder has room for `bytes`: said before anything is written.
[[noreturn]] void RaiseNoRoom(int64_t bytes)
{
    TFailure failure;
    failure.Kind = TFailureKind::fkNoRoomForWork;
    failure.Path = GetSystemTempFolder();
    failure.Bytes = bytes;
    failure.Reason = TSystemReason::srNoSpace;
    Raise(failure);
}

// The same failure with its kind and path set by what the caller was doing.
[[noreturn]] void RaiseAs(const EVarnholdError& error, TFailureKind kind, const std::string& path)
{
    TFailure failure = error.Failure();
    failure.Kind = kind;
    if (!path.empty())
        failure.Path = path;
    throw EVarnholdError(failure, error.what());
}

}  // namespace

struct TThreaEncryptFile::TSurvey {
    std::vector<uint32_t> Files;  // file items but the marker, in archive order
    std::vector<bool> Present;    // per entry of Files: something is at its name in the output
    std::vector<uint32_t> Markers;
    int64_t Total = 0;
    bool Conflict = false;
};

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
    std::lock_guard lock(FFailureMutex);
    return FFailure.Kind == TFailureKind::fkNone ? std::string() : FailureDiagnostic(FFailure);
}

TFailure TThreaEncryptFile::Failure() const
{
    std::lock_guard lock(FFailureMutex);
    return FFailure;
}

void TThreaEncryptFile::Execute()
{
    TOutcome outcome = FAILED;
    try {
        outcome = Run();
    } catch (const EVarnholdError& error) {
        outcome = Ended(error.Failure());
    } catch (const std::exception& error) {
        TFailure failure;
        failure.Kind = TFailureKind::fkUnexpected;
        failure.Detail = error.what();
        outcome = Ended(failure);
    }
    // Folders this run made and left empty go: a failed or cancelled run
    // leaves the output folder as it found it.
    RemoveEmptyFolders(FCreatedFolders);
    FUi.PostExtractDone(outcome);
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::Stopped()
{
    FCancelled = true;
    return FPasswordRefused ? TExtractOutcome::eoPasswordRefused : TExtractOutcome::eoCancelled;
}

void TThreaEncryptFile::Cancel()
{
    SetFlag(g_bCancel, true);
    WorkerPauseGate().Resume();
}

void TThreaEncryptFile::Pause()
{
    if (!IsSet(g_bCancel))
        WorkerPauseGate().Pause();
}

void TThreaEncryptFile::Continue()
{
    WorkerPauseGate().Resume();
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::Ended(const TFailure& failure)
{
    // A cancel makes the library give up with an error of its own; that is
    // the cancel the user asked for, not a failure to report.
    if (IsSet(g_bCancel) || FPasswordRefused)
        return Stopped();
    if (failure.Kind == TFailureKind::fkWrongPassword)
        return WRONG_PASSWORD;
    if (failure.Kind == TFailureKind::fkOutputFolderNotCreated)
        return FOLDER_FAILED;
    std::lock_guard lock(FFailureMutex);
    FFailure = failure;
    if (DebugOutputEnabled())
        OutputDebugString(FailureDiagnostic(failure));
    return FAILED;
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::Run()
{
    // 1. Output folder; whether it could be made is decided after the password test.
    const std::string out = IncludeTrailingPathDelimiter(FSettings.OutputDir);
    if (!DirectoryExists(out))
        ForceDirectories(out, FCreatedFolders);

    // 2. Payload copy, into a folder with room for it and the library.
    std::string extraWorkFolder;
    const std::string payloadFolder = ChoosePayloadFolder(extraWorkFolder);
    // Declared before the reader, so it goes after the library is unloaded.
    std::optional<TWorkFolderGuard> extraFolderGuard;
    if (!extraWorkFolder.empty())
        extraFolderGuard.emplace(extraWorkFolder);
    FLibraryFile = payloadFolder == g_sWorkDir ? FSettings.DllFile : payloadFolder + "7z.dll";
    try {
        CopyPayload(FSettings.ExeFile, payloadFolder, FSettings.PayloadFile, [this] { ShowTotalSize(); });
    } catch (const EVarnholdError& error) {
        if (error.Failure().Kind != TFailureKind::fkUnexpected)
            throw;
        const bool executable = error.Failure().Path == FSettings.ExeFile;
        RaiseAs(error, executable ? TFailureKind::fkCannotReadExecutable : TFailureKind::fkWorkFolderFailed, "");
    }
    if (IsSet(g_bCancel))
        return Stopped();

    // 3. Archive library.
    try {
        SaveResourceToFile("7z_dll", "FILE", FLibraryFile);
    } catch (const EVarnholdError& error) {
        RaiseAs(error, TFailureKind::fkWorkFolderFailed, FLibraryFile);
    }
    if (IsSet(g_bCancel))
        return Stopped();

    // 4. Open. The reader is released on every way out of this function.
    TComPtr<I7zArchiveReader> reader;
    try {
        reader = CreateArchiveReader(Format7zClassId, FLibraryFile);
    } catch (const EVarnholdError& error) {
        RaiseAs(error, TFailureKind::fkLibraryNotLoaded, FLibraryFile);
    }
    return RunWithReader(*reader.Get(), out);
}

std::string TThreaEncryptFile::ChoosePayloadFolder(std::string& workFolderToRemove)
{
    const int64_t payload = std::max<int64_t>(FileSizeOf(FSettings.ExeFile) - PAYLOAD_OFFSET, 0);
    const int64_t needed = payload + static_cast<int64_t>(FindResource("7z_dll", "FILE").Size);
    if (HasRoomFor(g_sWorkDir, needed))
        return g_sWorkDir;
    // The main work folder was made before the executable was known; this
    // one is chosen for what it will hold.
    const std::string folder = CreateWorkFolder(needed);
    if (!HasRoomFor(folder, needed)) {
        DeleteFolderTree(folder);
        RaiseNoRoom(needed);
    }
    workFolderToRemove = folder;
    return folder;
}

TThreaEncryptFile::TSurvey TThreaEncryptFile::Survey(I7zArchiveReader& reader, const std::string& out)
{
    TSurvey survey;
    std::vector<std::string> unsafe;
    g_nFileCount = 0;
    const uint32_t count = reader.ItemCount();
    for (uint32_t i = 0; i < count; ++i) {
        const std::string path = reader.ItemPath(i);
        const bool isDirectory = reader.ItemIsDirectory(i);
        // A name that would leave the output folder, or no name at all, is
        // refused before anything is written there.
        if (PathLeavesFolder(path) || (path.empty() && !isDirectory)) {
            unsafe.push_back(path);
            continue;
        }
        if (isDirectory)
            continue;
        if (IsSet(g_bCancel))
            break;
        g_nFileCount.fetch_add(1);
        survey.Total += reader.ItemSize(i);
        if (path == MARKER_NAME) {
            survey.Markers.push_back(i);
            continue;
        }
        // Anything at the name counts: a file, a folder, a link, dangling or not.
        const bool present = AnyEntryExists(out + path);
        survey.Files.push_back(i);
        survey.Present.push_back(present);
        survey.Conflict = survey.Conflict || present;
    }
    if (!unsafe.empty()) {
        TFailure failure;
        failure.Kind = TFailureKind::fkUnsafeItems;
        failure.Names = unsafe;
        Raise(failure);
    }
    return survey;
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::RunWithReader(I7zArchiveReader& reader, const std::string& out)
{
    reader.SetProgressSink(this, OnArchiveProgress);
    try {
        reader.OpenFromFile(FSettings.PayloadFile);
    } catch (const EVarnholdError& error) {
        // "Not this format" is what the library says of bytes that hold no
        // archive at all, and also of an archive cut short: its signature
        // tells the two apart.
        const bool noArchive =
            error.Failure().ResultCode == static_cast<uint32_t>(S_FALSE) && !StartsLikeAnArchive(FSettings.PayloadFile);
        RaiseAs(error, noArchive ? TFailureKind::fkNotProtectedExecutable : TFailureKind::fkArchiveUnreadable,
                FSettings.ExeFile);
    }
    reader.SetPasswordProvider(this, OnArchivePassword);
    reader.SetPassword(FSettings.PasswordText);

    // 5. Survey.
    const TSurvey survey = Survey(reader, out);
    if (IsSet(g_bCancel))
        return Stopped();
    const int32_t answerForAll = FUi.AnswerForAllConflicts();
    if (survey.Conflict && answerForAll == NO_ANSWER_FOR_ALL) {
        std::string refusal;
        FUi.Synchronize([&] { refusal = FUi.ConflictRefusal(); });
        if (!refusal.empty()) {
            TFailure failure;
            failure.Kind = TFailureKind::fkUnexpected;
            failure.Detail = refusal;
            Raise(failure);
        }
    }

    // 6. Password test.
    const TMarkerVerdict verdict = TestPassword(reader, survey);
    if (verdict == mvWrongPassword)
        return WRONG_PASSWORD;
    if (IsSet(g_bCancel))
        return Stopped();

    // 7. Output folder check: it may take a moment to appear (a network share).
    for (int attempts = 0; !DirectoryExists(out);) {
        ForceDirectories(out, FCreatedFolders);
        if (++attempts >= OUTPUT_FOLDER_ATTEMPTS || IsSet(g_bCancel))
            break;
        std::this_thread::sleep_for(OUTPUT_FOLDER_WAIT);
    }
    if (!DirectoryExists(out))
        return FOLDER_FAILED;

    // 8. Extraction. The marker is never extracted again: it is not one of the user's files.
    SetFlag(g_bStageDone, false);
    g_nFilesPlaced = 0;
    SetFlag(g_bExtracting, true);
    std::vector<uint32_t> items;
    for (size_t k = 0; k < survey.Files.size(); ++k) {
        // Files that will be left alone anyway are not extracted at all.
        if (!(answerForAll == ocNoAll && survey.Present[k]))
            items.push_back(survey.Files[k]);
    }
    if (!survey.Conflict || answerForAll != NO_ANSWER_FOR_ALL) {
        // Straight into the output folder; what took a name meanwhile is a
        // conflict like any other.
        if (answerForAll != NO_ANSWER_FOR_ALL)
            FOverWriteMode = answerForAll;
        ExtractInto(reader, items, out);
        SetFlag(g_bStageDone, true);
        PlaceCollisions(reader);
    } else {
        TWorkFolderGuard staging(ChooseStagingFolder(out, survey.Total));
        SetFlag(g_bExtractToTemp, true);
        ExtractInto(reader, items, staging.Path);
        SetFlag(g_bExtractToTemp, false);
        SetFlag(g_bStageDone, true);
        // 9.
        if (IsSet(g_bCancel))
            return Stopped();
        // 10. Placement; the staging folder goes when `staging` does.
        PlaceFiles(reader, items, out, staging.Path);
    }
    if (FCancelled || IsSet(g_bCancel))
        return Stopped();
    return Account(reader, items, out);
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

TMarkerVerdict TThreaEncryptFile::TestPassword(I7zArchiveReader& reader, const TSurvey& survey)
{
    if (survey.Markers.empty())
        return mvUndecided;
    // The trial folder holds the marker and nothing else.
    int64_t markerBytes = 0;
    for (const uint32_t marker : survey.Markers)
        markerBytes = std::max(markerBytes, reader.ItemSize(marker));
    TWorkFolderGuard trial(CreateWorkFolder(markerBytes));
    for (const uint32_t marker : survey.Markers) {
        if (IsSet(g_bCancel))
            break;
        const TMarkerVerdict verdict = TestMarker(reader, marker, trial.Path + MARKER_NAME);
        if (verdict != mvUndecided)
            return verdict;
    }
    return mvUndecided;
}

void TThreaEncryptFile::ExtractInto(I7zArchiveReader& reader, const std::vector<uint32_t>& items,
                                    const std::string& folder)
{
    if (items.empty())
        return;
    try {
        reader.ExtractSelectedToFolder(items.data(), static_cast<uint32_t>(items.size()), folder);
    } catch (const EVarnholdError& error) {
        const std::vector<std::string> created = reader.CreatedFolders();
        FCreatedFolders.insert(FCreatedFolders.end(), created.begin(), created.end());
        // The library's own result: the archive itself could not be read on.
        if (error.Failure().Kind == TFailureKind::fkUnexpected && error.Failure().ResultCode != 0)
            RaiseAs(error, TFailureKind::fkArchiveUnreadable, FSettings.ExeFile);
        throw;
    }
    const std::vector<std::string> created = reader.CreatedFolders();
    FCreatedFolders.insert(FCreatedFolders.end(), created.begin(), created.end());
}

void TThreaEncryptFile::PlaceCollisions(I7zArchiveReader& reader)
{
    for (const TFolderCollision& collision : reader.Collisions()) {
        if (!IsSet(g_bCancel)) {
            OutputDebugString(collision.Target);
            if (!PlaceConflict(collision.TempFile, collision.Target))
                FNotPlaced.push_back(collision.Target);
        }
        // Left alone or cancelled: the waiting data is ours to remove.
        DeleteFile(collision.TempFile);
    }
}

std::string TThreaEncryptFile::ChooseStagingFolder(const std::string& out, int64_t total)
{
    // On the output's own file system a staged file is placed by a rename:
    // no second copy of the data, on disk or in time.
    if (!SameFileSystem(out, GetSystemTempFolder()) && HasRoomFor(out, total)) {
        try {
            return CreateUniqueFolder(out, ".tq_");
        } catch (const EVarnholdError&) {
            // Not writable there after all: a work folder elsewhere.
        }
    }
    const std::string folder = CreateWorkFolder(total);
    if (!HasRoomFor(folder, total) && !SameFileSystem(folder, out)) {
        DeleteFolderTree(folder);
        RaiseNoRoom(total);
    }
    return folder;
}

TThreaEncryptFile::TOutcome TThreaEncryptFile::Account(I7zArchiveReader& reader, const std::vector<uint32_t>& items,
                                                       const std::string& out)
{
    // Every file the archive lists and this run did not deliver whole ends
    // the run as a failure that names it.
    std::vector<std::string> damaged;
    for (const uint32_t i : items) {
        if (reader.ItemOperationResult(i) != OPERATION_OK)
            damaged.push_back(reader.ItemPath(i));
    }
    if (!damaged.empty()) {
        TFailure failure;
        failure.Kind = TFailureKind::fkDamagedItems;
        failure.Path = FSettings.ExeFile;
        failure.Names = damaged;
        Raise(failure);
    }
    if (!FNotPlaced.empty()) {
        TFailure failure;
        failure.Kind = TFailureKind::fkFileNotPlaced;
        failure.Path = out;
        failure.Names = FNotPlaced;
        Raise(failure);
    }
    return DONE;
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
    // The run ends as refused; the front end decides what that means for its window.
    worker->FPasswordRefused = true;
    return 1;
}
