#include "support/TestSupport.h"

#include "extract/WorkFolder.h"
#include "platform/Paths.h"
#include "platform/TempFolder.h"
#include "platform/Win32Text.h"

#include <cstdlib>
#include <windows.h>

namespace {

// One argument as the C runtime's command-line parser reads it back.
std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

// Under Wine a Linux program started by CreateProcessW runs on its own: the
// handle ends at once with code 1, and its output does not come through the
// pipe. So a shell beside it writes the output and the exit status into
// files, the status last and whole (by a rename), and the status is waited for.
int RunHostProgram(const std::vector<std::string>& argv, std::string* output)
{
    const std::string folder = CreateUniqueFolder(GetSystemTempFolder(), "vh_");
    std::vector<std::string> wrapped = {
        "/bin/sh", "-c",
        "\"$@\" </dev/null >\"$0/out\" 2>&1; echo $? >\"$0/status.part\"; mv \"$0/status.part\" \"$0/status\"",
        HostPath(ExcludeTrailingPathDelimiter(folder))};
    wrapped.insert(wrapped.end(), argv.begin(), argv.end());
    std::wstring commandLine;
    for (const std::string& argument : wrapped)
        commandLine += (commandLine.empty() ? L"" : L" ") + QuoteArgument(Widen(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    int code = -1;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        for (int waited = 0; waited < 600000 && !FileExists(folder + "status"); waited += 5)
            Sleep(5);
        if (FileExists(folder + "status")) {
            code = std::atoi(ReadWholeFile(folder + "status").c_str());
            if (output)
                *output += ReadWholeFile(folder + "out");
        }
    }
    DeleteFolderTree(folder);
    return code;
}

}  // namespace

int RunProgram(const std::vector<std::string>& argv, std::string* output)
{
    return RunProgramWith(argv, {}, "", output);
}

int RunProgramWith(const std::vector<std::string>& argv,
                   const std::vector<std::pair<std::string, std::string>>& variables, const std::string& inputFile,
                   std::string* output)
{
    if (!argv.empty() && argv[0].rfind("/", 0) == 0 && variables.empty() && inputFile.empty())
        return RunHostProgram(argv, output);
    std::wstring commandLine;
    for (const std::string& argument : argv)
        commandLine += (commandLine.empty() ? L"" : L" ") + QuoteArgument(Widen(argument));

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (output && !CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    if (output)
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
    HANDLE input = inputFile.empty() ? nothing
                                     : CreateFileW(Widen(inputFile).c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit,
                                                   OPEN_EXISTING, 0, nullptr);
    // The child's environment: this process's, with the given changes.
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (const auto& [name, value] : variables) {
        const std::wstring wideName = Widen(name);
        wchar_t old[32768];
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), old, 32768);
        saved.emplace_back(wideName, length > 0 && length < 32768 ? std::wstring(old, length) : std::wstring());
        SetEnvironmentVariableW(wideName.c_str(), value.empty() ? nullptr : Widen(value).c_str());
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output ? writeEnd : nothing;
    startup.hStdError = output ? writeEnd : nothing;
    PROCESS_INFORMATION process{};
    // A console program of its own without a console: no terminal to ask on.
    const DWORD flags = variables.empty() && inputFile.empty() ? 0 : DETACHED_PROCESS;
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                        &startup, &process);
    for (const auto& [name, value] : saved)
        SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
    if (writeEnd)
        CloseHandle(writeEnd);
    if (input != nothing && input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    CloseHandle(nothing);
    if (!started) {
        if (readEnd)
            CloseHandle(readEnd);
        return -1;
    }
    if (output) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            output->append(buffer, got);
        CloseHandle(readEnd);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

std::string HostPath(const std::string& path)
{
    // Wine's own translation, which knows the prefix's drive mappings.
    using TUnixName = char*(__cdecl*)(const wchar_t*);
    static const auto unixName = reinterpret_cast<TUnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return path;
    char* name = unixName(Widen(path).c_str());
    if (!name)
        return path;
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    // The folder's final delimiter stays a final delimiter.
    if (!path.empty() && IsPathDelimiter(path.back()) && (result.empty() || result.back() != '/'))
        result += '/';
    return result;
}

void MakeRemovable(const std::string& folder)
{
    // Read-only files stay in place when a folder is deleted: clear the flag.
    for (const std::string& file : ListFiles(folder)) {
        const std::wstring path = Widen(IncludeTrailingPathDelimiter(folder) + file);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
}

void SetEnvironment(const std::string& name, const std::string& value)
{
    // Both the C runtime's copy and the one the system reads (GetTempPathW).
    _putenv_s(name.c_str(), value.c_str());
    SetEnvironmentVariableW(Widen(name).c_str(), value.empty() ? nullptr : Widen(value).c_str());
}

bool LibraryIsLoaded(const std::string& path)
{
    return GetModuleHandleW(Widen(path).c_str()) != nullptr;
}

std::string SystemMessageOf(uint32_t code)
{
    wchar_t buffer[512];
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, 512, nullptr);
    std::string text = Narrow(buffer, length);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}
