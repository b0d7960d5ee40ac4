#include "cli/Terminal.h"

#include "cli/Options.h"
#include "lang/LangText.h"

#include <filesystem>
#include <fstream>
#include <iostream>

bool AskPasswordOnTerminal(std::string& password, int cancelFd)
{
    std::string question = LangText("02000B01") + " ";
    for (;;) {
        if (!AskOnTerminal(question, password, true, cancelFd))
            return false;
        if (!IsBlank(password))
            return true;
        question = LangText("02000B00") + "\n" + LangText("02000B01") + " ";
    }
}

bool ReadFirstLine(const std::string& fileName, std::string& line)
{
    line.clear();
    if (fileName == "-") {
        std::getline(std::cin, line);
    } else {
        // By a path made from UTF-8, so that a name outside the ANSI code
        // page opens on Windows too.
        const std::filesystem::path path(reinterpret_cast<const char8_t*>(fileName.c_str()));
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        std::getline(in, line);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // Editors on some systems start a UTF-8 file with a byte-order mark; it is no part of the password.
    if (line.rfind("\xEF\xBB\xBF", 0) == 0)
        line.erase(0, 3);
    return true;
}
