#include "cli/Terminal.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <termios.h>
#include <unistd.h>

bool HaveTerminal()
{
    return isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
}

bool AskOnTerminal(const std::string& question, std::string& answer, bool secret)
{
    const int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0)
        return false;
    if (write(tty, question.data(), question.size()) < 0) {
        close(tty);
        return false;
    }
    termios saved{};
    const bool hideEcho = secret && tcgetattr(tty, &saved) == 0;
    if (hideEcho) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    answer.clear();
    char c = 0;
    bool gotLine = false;
    while (read(tty, &c, 1) == 1) {
        if (c == '\n') {
            gotLine = true;
            break;
        }
        answer.push_back(c);
    }
    if (hideEcho) {
        tcsetattr(tty, TCSAFLUSH, &saved);
        (void)!write(tty, "\n", 1);
    }
    close(tty);
    if (!answer.empty() && answer.back() == '\r')
        answer.pop_back();
    return gotLine || !answer.empty();
}

bool ReadFirstLine(const std::string& fileName, std::string& line)
{
    line.clear();
    if (fileName == "-") {
        std::getline(std::cin, line);
    } else {
        std::ifstream in(fileName, std::ios::binary);
        if (!in)
            return false;
        std::getline(in, line);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
