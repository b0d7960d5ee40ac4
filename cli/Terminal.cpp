#include "cli/Terminal.h"

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

int OpenTerminal()
{
    return open("/dev/tty", O_RDWR | O_CLOEXEC);
}

// One line from the terminal, byte by byte so that nothing after the line
// is taken from the terminal's queue; gives up when `cancelFd` is readable.
bool ReadLine(int tty, int cancelFd, std::string& line)
{
    line.clear();
    for (;;) {
        pollfd watched[2] = {{tty, POLLIN, 0}, {cancelFd, POLLIN, 0}};
        if (poll(watched, cancelFd >= 0 ? 2 : 1, -1) < 0)
            return false;
        if (watched[1].revents != 0)
            return false;
        char c = 0;
        if (read(tty, &c, 1) != 1)
            return !line.empty();  // the terminal was closed after a last line without its end
        if (c == '\n')
            return true;
        line.push_back(c);
    }
}

}  // namespace

void PrepareTerminalOutput()
{
}

bool HaveTerminal()
{
    const int tty = OpenTerminal();
    if (tty < 0)
        return false;
    close(tty);
    return true;
}

bool AskOnTerminal(const std::string& question, std::string& answer, bool secret, int cancelFd)
{
    answer.clear();
    const int tty = OpenTerminal();
    if (tty < 0)
        return false;
    // The echo goes off before the prompt shows, so that nothing typed in
    // answer to it is ever shown; what was typed before it is dropped.
    termios saved{};
    const bool hideEcho = secret && tcgetattr(tty, &saved) == 0;
    if (hideEcho) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    const bool asked = write(tty, question.data(), question.size()) >= 0;
    const bool gotLine = asked && ReadLine(tty, cancelFd, answer);
    if (hideEcho) {
        tcsetattr(tty, TCSANOW, &saved);
        // The user's Enter was not echoed; end the prompt's line for them.
        (void)!write(tty, "\n", 1);
    }
    close(tty);
    if (!answer.empty() && answer.back() == '\r')
        answer.pop_back();
    return gotLine;
}
