#include "cli/Terminal.h"

#include "cli/Options.h"
#include "extract/RunState.h"
#include "lang/LangText.h"
#include "platform/Win32Text.h"

#include <fstream>
#include <iostream>
#include <windows.h>

namespace {

// The console itself, whatever standard input and output are.
class TConsole {
public:
    TConsole()
        : FIn(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr)),
          FOut(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr))
    {
        DWORD mode = 0;
        if (FIn != INVALID_HANDLE_VALUE && !GetConsoleMode(FIn, &mode)) {
            CloseHandle(FIn);
            FIn = INVALID_HANDLE_VALUE;
        }
    }
    ~TConsole()
    {
        if (FIn != INVALID_HANDLE_VALUE)
            CloseHandle(FIn);
        if (FOut != INVALID_HANDLE_VALUE)
            CloseHandle(FOut);
    }
    TConsole(const TConsole&) = delete;
    TConsole& operator=(const TConsole&) = delete;

    bool Usable() const { return FIn != INVALID_HANDLE_VALUE && FOut != INVALID_HANDLE_VALUE; }
    HANDLE In() const { return FIn; }

    void Write(const std::string& text) const
    {
        const std::wstring wide = Widen(text);
        DWORD written = 0;
        WriteConsoleW(FOut, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }

private:
    HANDLE FIn;
    HANDLE FOut;
};

// One line typed at the console; false when the run was cancelled (Ctrl-C
// ends the read and sets the cancel flag) or the console went away.
bool ReadLine(const TConsole& console, std::string& line)
{
    line.clear();
    std::wstring typed;
    for (;;) {
        // Waiting in short steps sees a cancel that came from elsewhere.
        if (IsSet(g_bCancel))
            return false;
        const DWORD waited = WaitForSingleObject(console.In(), 100);
        if (waited == WAIT_TIMEOUT)
            continue;
        if (waited != WAIT_OBJECT_0)
            return false;
        wchar_t buffer[256];
        DWORD got = 0;
        if (!ReadConsoleW(console.In(), buffer, 256, &got, nullptr))
            return false;
        if (got == 0) {
            // Ctrl-C: its handler runs on another thread and sets the flag.
            Sleep(50);
            if (IsSet(g_bCancel))
                return false;
            continue;
        }
        typed.append(buffer, got);
        const size_t end = typed.find(L'\n');
        if (end != std::wstring::npos) {
            typed.resize(end);
            line = Narrow(typed.data(), typed.size());
            return true;
        }
    }
}

}  // namespace

void PrepareTerminalOutput()
{
    // The program's texts are UTF-8; so is what it writes to the console.
    SetConsoleOutputCP(CP_UTF8);
    // The progress line is cleared with the terminal sequence that
    // terminals elsewhere take; the console takes it once told so.
    const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (errors != INVALID_HANDLE_VALUE && GetConsoleMode(errors, &mode))
        SetConsoleMode(errors, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool HaveTerminal()
{
    return TConsole().Usable();
}

bool AskOnTerminal(const std::string& question, std::string& answer, bool secret, int)
{
    answer.clear();
    const TConsole console;
    if (!console.Usable())
        return false;
    DWORD saved = 0;
    GetConsoleMode(console.In(), &saved);
    // Line input with Ctrl-C as a signal; no echo for a secret, turned off
    // before the prompt shows, and what was typed before it is dropped.
    DWORD mode = ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT;
    if (!secret)
        mode |= ENABLE_ECHO_INPUT;
    SetConsoleMode(console.In(), mode);
    FlushConsoleInputBuffer(console.In());
    console.Write(question);
    const bool gotLine = ReadLine(console, answer);
    SetConsoleMode(console.In(), saved);
    if (secret)
        console.Write("\n");  // the user's Enter was not echoed
    if (!answer.empty() && answer.back() == '\r')
        answer.pop_back();
    return gotLine;
}
