#include "lang/FailureText.h"

#include "lang/LangText.h"

namespace {

// Catalogue keys of section "Main".
const char* const KEY_CANNOT_CREATE_FOLDER = "02000603";
const char* const KEY_WRONG_PASSWORD = "02000B10";
const char* const KEY_NOT_EXTRACTED = "02000D01";
const char* const KEY_UNEXPECTED = "02000D0C";
const char* const KEY_QUOTED_NAME = "02000D21";
const char* const KEY_NAME_SEPARATOR = "02000D22";
const char* const KEY_MORE_NAMES = "02000D23";
const char* const KEY_MEGABYTES = "02000D24";

const char* ReasonKey(TSystemReason reason)
{
    switch (reason) {
    case TSystemReason::srNone: return nullptr;
    case TSystemReason::srNoSpace: return "02000D10";
    case TSystemReason::srAccessDenied: return "02000D11";
    case TSystemReason::srReadOnly: return "02000D12";
    case TSystemReason::srNotFound: return "02000D13";
    case TSystemReason::srIsFolder: return "02000D14";
    case TSystemReason::srNotFolder: return "02000D15";
    case TSystemReason::srExists: return "02000D16";
    case TSystemReason::srInUse: return "02000D17";
    case TSystemReason::srNameTooLong: return "02000D18";
    case TSystemReason::srTooManyLinks: return "02000D19";
    case TSystemReason::srIoError: return "02000D1A";
    case TSystemReason::srOther: return "02000D1B";
    }
    return nullptr;
}

// What happened, without the system's reason.
std::string KindText(const TFailure& failure)
{
    const std::string& path = failure.Path;
    switch (failure.Kind) {
    case TFailureKind::fkNone: return std::string();
    case TFailureKind::fkCannotReadExecutable: return FillPlaceholders(LangText("02000D02"), {path});
    case TFailureKind::fkNotProtectedExecutable: return FillPlaceholders(LangText("02000D03"), {path});
    case TFailureKind::fkArchiveUnreadable: return FillPlaceholders(LangText("02000D04"), {path});
    // The message the desktop program has always shown for a wrong password.
    case TFailureKind::fkWrongPassword: return LangText(KEY_WRONG_PASSWORD);
    case TFailureKind::fkDamagedItems: return FillPlaceholders(LangText("02000D05"), {NameListText(failure.Names)});
    case TFailureKind::fkUnsafeItems: return FillPlaceholders(LangText("02000D06"), {NameListText(failure.Names)});
    case TFailureKind::fkNoRoomForWork: return FillPlaceholders(LangText("02000D07"), {path, SpaceText(failure.Bytes)});
    case TFailureKind::fkWorkFolderFailed: return FillPlaceholders(LangText("02000D08"), {path});
    case TFailureKind::fkCannotWriteOutput: return FillPlaceholders(LangText("02000D09"), {path});
    case TFailureKind::fkOutputFolderNotCreated: return FillPlaceholders(LangText(KEY_CANNOT_CREATE_FOLDER), {path});
    case TFailureKind::fkFileNotPlaced:
        return FillPlaceholders(LangText("02000D0A"), {path, NameListText(failure.Names)});
    case TFailureKind::fkLibraryNotLoaded: return FillPlaceholders(LangText("02000D0B"), {path});
    // Detail is an English diagnostic: the user gets the general text.
    case TFailureKind::fkUnexpected: return FillPlaceholders(LangText(KEY_NOT_EXTRACTED), {LangText(KEY_UNEXPECTED)});
    }
    return std::string();
}

}  // namespace

std::string FailureText(const TFailure& failure)
{
    const std::string text = KindText(failure);
    if (text.empty() || failure.Reason == TSystemReason::srNone)
        return text;
    // On a line of its own: the sentence before it may end without a stop.
    return text + "\n" + SystemReasonText(failure.Reason, failure.SystemCode);
}

std::string SystemReasonText(TSystemReason reason, int systemCode)
{
    const char* key = ReasonKey(reason);
    return key ? FillPlaceholders(LangText(key), {std::to_string(systemCode)}) : std::string();
}

std::string NameListText(const std::vector<std::string>& names)
{
    const std::string quoted = LangText(KEY_QUOTED_NAME);
    const std::string separator = LangText(KEY_NAME_SEPARATOR);
    std::string list;
    for (size_t i = 0; i < names.size() && i < LISTED_NAMES; ++i)
        list += (i ? separator : std::string()) + FillPlaceholders(quoted, {names[i]});
    if (names.size() <= LISTED_NAMES)
        return list;
    return FillPlaceholders(LangText(KEY_MORE_NAMES), {list, std::to_string(names.size() - LISTED_NAMES)});
}

std::string SpaceText(int64_t bytes)
{
    constexpr int64_t MIB = 1024 * 1024;
    const int64_t megabytes = bytes > 0 ? (bytes - 1) / MIB + 1 : 0;
    return FillPlaceholders(LangText(KEY_MEGABYTES), {std::to_string(megabytes)});
}
