#pragma once
// The user's terminal, for questions and the password prompt.

#include <string>

// True when standard input and standard error are both a terminal.
bool HaveTerminal();
// Asks on the terminal and reads one line; without echo when `secret`.
// False when there is no terminal or it was closed.
bool AskOnTerminal(const std::string& question, std::string& answer, bool secret);
// The first line of a file ("-": standard input) without its line ending.
bool ReadFirstLine(const std::string& fileName, std::string& line);
