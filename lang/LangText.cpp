#include "lang/LangText.h"

#include "lang/ProfileReader.h"
#include "platform/LanguageId.h"
#include "platform/Paths.h"
#include "platform/Resources.h"

std::string g_sLangFile;

namespace {

const char* const MISSING_TEXT = "???";

}  // namespace

std::string GetLangText(const std::string& fileName, const std::string& section, const std::string& key)
{
    std::string path = fileName;
    if (!FileExists(path)) {
        // Only a relative name can stand for a file beside the program: an
        // absolute one such as "/en.txt" would otherwise be joined into
        // "<program folder>//en.txt" and find the program's own copy.
        if (fileName.empty() || IsAbsolutePath(fileName))
            return MISSING_TEXT;
        path = GetProgramFolder() + fileName;
        if (!FileExists(path))
            return MISSING_TEXT;
    }
    const std::string text = ReadProfileString(path, section, key, MISSING_TEXT);
    return text.empty() ? MISSING_TEXT : text;
}

std::string LangText(const std::string& key)
{
    return GetLangText(g_sLangFile, "Main", key);
}

std::string ReplacePlaceholder(const std::string& text, const std::string& value)
{
    return FillPlaceholders(text, {value});
}

std::string FillPlaceholders(const std::string& text, std::initializer_list<std::string> values)
{
    std::string result;
    size_t start = 0;
    for (size_t open; (open = text.find('{', start)) != std::string::npos;) {
        const size_t close = text.find('}', open + 1);
        if (close == std::string::npos)
            break;
        const std::string digits = text.substr(open + 1, close - open - 1);
        const bool isIndex = !digits.empty() && digits.size() <= 2 &&
                             digits.find_first_not_of("0123456789") == std::string::npos;
        const size_t index = isIndex ? std::stoul(digits) : values.size();
        if (index < values.size()) {
            result += text.substr(start, open - start) + values.begin()[index];
            start = close + 1;
        } else {
            result += text.substr(start, open + 1 - start);
            start = open + 1;
        }
    }
    return result + text.substr(start);
}

std::string LanguageResourceName(uint16_t langId)
{
    switch (langId) {
    case 0x0804:
        return "Lang_Simplified";
    case 0x0404:
    case 0x0C04:
    case 0x1004:
        return "Lang_Traditional";
    default:
        break;
    }
    // By primary language, so every regional variant gets its own language.
    switch (langId & 0x3FF) {
    case 0x07: return "Lang_Deutsch";
    case 0x10: return "Lang_Italian";
    case 0x16: return "Lang_Portuguese";
    case 0x0C: return "Lang_French";
    case 0x11: return "Lang_Japanese";
    case 0x0A: return "Lang_Spanish";
    default: return "Lang_English";
    }
}

void WriteLanguageFile(const std::string& fileName)
{
    SaveResourceToFile(LanguageResourceName(GetSystemDefaultLangID()), "FILE", fileName);
}
