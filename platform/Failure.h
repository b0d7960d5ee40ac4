#pragma once
// What went wrong, as data: a kind, the paths and names it concerns and the
// system's reason. The engine and the layers below it describe failures this
// way and build no sentence for the user; each front end turns a failure into
// texts of the user's language catalogue.

#include <cstdint>
#include <string>
#include <vector>

enum class TFailureKind {
    fkNone,
    fkCannotReadExecutable,    // Path: the executable; Reason: why it cannot be opened or read
    fkNotProtectedExecutable,  // Path: the executable; too short, or no archive in it at all
    fkArchiveUnreadable,       // Path: the executable; its archive is damaged or cannot be read
    fkWrongPassword,           // the password does not open the archive
    fkDamagedItems,            // Names: archive paths of the files that could not be extracted whole
    fkUnsafeItems,             // Names: archive paths that would land outside the output folder, or none at all
    fkNoRoomForWork,           // Path: the folder tried; Bytes: the space needed
    fkWorkFolderFailed,        // Path: the folder or file; Reason: why the work folder cannot be made or written
    fkCannotWriteOutput,       // Path: the file or folder; Reason: why writing failed
    fkOutputFolderNotCreated,  // Path: the output folder
    fkFileNotPlaced,           // Path: the output folder; Names: the files that could not be placed
    fkLibraryNotLoaded,        // Path: the library; Reason
    fkUnexpected,              // anything else; Detail holds a diagnostic text (never shown translated)
};

// The system's reason for a failed call, the same on every platform.
enum class TSystemReason {
    srNone,
    srNoSpace,
    srAccessDenied,
    srReadOnly,
    srNotFound,
    srIsFolder,
    srNotFolder,
    srExists,
    srInUse,
    srNameTooLong,
    srTooManyLinks,  // a loop of symbolic links, or a link where none may be
    srIoError,
    srOther,
};

struct TFailure {
    TFailureKind Kind = TFailureKind::fkNone;
    std::string Path;
    std::vector<std::string> Names;
    TSystemReason Reason = TSystemReason::srNone;
    int SystemCode = 0;   // errno, or the Win32 error code; 0 when there is none
    int64_t Bytes = 0;    // space needed, for fkNoRoomForWork
    uint32_t ResultCode = 0;  // the archive library's result code, when it gave one
    std::string Detail;   // diagnostic text for the debug output, in English

    bool operator==(const TFailure&) const = default;
};

// The failure in one English line for the debug output and the tests: the
// kind, the path, the names and the system's reason. Never shown to a user.
std::string FailureDiagnostic(const TFailure& failure);
