#include "support/PayloadBuilder.h"

#include "extract/WorkFolder.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

std::string BuildProtectedExecutable(const std::string& scratchFolder, const TPayloadSpec& spec)
{
    const std::string source = scratchFolder + "payload-src/";
    DeleteFolderTree(source);
    ForceDirectories(source);
    for (const auto& [path, content] : spec.Files)
        WriteTextFile(source + path, content);
    for (const std::string& folder : spec.EmptyFolders)
        ForceDirectories(source + folder);
    if (spec.WithMarker)
        WriteTextFile(source + MARKER_NAME, spec.MarkerContent);
    std::vector<std::string> switches = spec.Switches;
    if (!spec.Password.empty())
        switches.push_back("-p" + spec.Password);
    const std::string archive = scratchFolder + "payload.7z";
    DeleteFile(archive);
    Make7zArchive(archive, source, switches);
    const std::string exe = scratchFolder + "protected.exe";
    MakeProtectedExecutable(exe, archive);
    DeleteFolderTree(source);
    return exe;
}
