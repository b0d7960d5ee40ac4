#pragma once
// The user's terminal, for questions and the password prompt. Questions go to
// the controlling terminal itself, so they work with standard input and
// output redirected, as long as the program was started from a terminal (on
// Windows: the console, CONIN$ and CONOUT$).

#include <string>

// Readies the terminal for the program's UTF-8 output and its clearing of
// the progress line (the Windows console is told to take both); nothing to
// do elsewhere.
void PrepareTerminalOutput();
// True when the program has a controlling terminal to ask on.
bool HaveTerminal();
// Asks on the terminal and reads one line; without echo when `secret`.
// False when there is no terminal, it was closed, or `cancelFd` became
// readable (a signal cancelled the run) before the line was complete; the
// terminal's echo is restored in every case.
bool AskOnTerminal(const std::string& question, std::string& answer, bool secret, int cancelFd);
// Asks for the password without echo until one that is not blank is given,
// as the desktop program's password dialog does. False as AskOnTerminal.
bool AskPasswordOnTerminal(std::string& password, int cancelFd);
// The first line of a file ("-": standard input) without its line ending.
bool ReadFirstLine(const std::string& fileName, std::string& line);
