#include "cli/Terminal.h"

#include "cli/Options.h"
#include "lang/LangText.h"

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
        std::ifstream in(fileName, std::ios::binary);
        if (!in)
            return false;
        std::getline(in, line);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
