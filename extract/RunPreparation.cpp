#include "extract/RunPreparation.h"

#include "extract/RunState.h"
#include "extract/WorkFolder.h"
#include "lang/LangText.h"

#include <algorithm>

void PrepareWorkFolder()
{
    g_sWorkDir = CreateWorkFolder(MAIN_WORK_FOLDER_BYTES);
    g_sLangFile = g_sWorkDir + "en.txt";
    WriteLanguageFile(g_sLangFile);
}

std::string LibraryFileIn(const std::string& workFolder)
{
    return workFolder + "7z.dll";
}

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}
