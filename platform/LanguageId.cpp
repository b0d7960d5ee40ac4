#include "platform/LanguageId.h"

#include <cstdlib>

namespace {

struct TLocaleRow {
    const char* Locale;  // "ll_CC", or "ll" for the language's usual region
    uint16_t LangId;
};

const TLocaleRow LOCALES[] = {
    {"en", 0x0409}, {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009},
    {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_IN", 0x4009},
    {"de", 0x0407}, {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"de_LI", 0x1407},
    {"fr", 0x040C}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
    {"it", 0x0410}, {"it_IT", 0x0410}, {"it_CH", 0x0810},
    {"pt", 0x0816}, {"pt_PT", 0x0816}, {"pt_BR", 0x0416},
    {"es", 0x0C0A}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_GT", 0x100A}, {"es_CR", 0x140A}, {"es_PA", 0x180A},
    {"es_DO", 0x1C0A}, {"es_VE", 0x200A}, {"es_CO", 0x240A}, {"es_PE", 0x280A}, {"es_AR", 0x2C0A}, {"es_EC", 0x300A},
    {"es_CL", 0x340A}, {"es_UY", 0x380A}, {"es_PY", 0x3C0A}, {"es_BO", 0x400A}, {"es_US", 0x540A},
    {"ja", 0x0411}, {"ja_JP", 0x0411},
    {"zh", 0x0804}, {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"zh_SG", 0x1004}, {"zh_MO", 0x1404},
    {"ko", 0x0412}, {"ko_KR", 0x0412}, {"ru", 0x0419}, {"ru_RU", 0x0419}, {"nl", 0x0413}, {"nl_NL", 0x0413},
    {"nl_BE", 0x0813}, {"pl", 0x0415}, {"pl_PL", 0x0415}, {"sv", 0x041D}, {"sv_SE", 0x041D}, {"tr", 0x041F},
    {"tr_TR", 0x041F}, {"cs", 0x0405}, {"cs_CZ", 0x0405}, {"da", 0x0406}, {"da_DK", 0x0406}, {"fi", 0x040B},
    {"fi_FI", 0x040B}, {"el", 0x0408}, {"el_GR", 0x0408}, {"hu", 0x040E}, {"hu_HU", 0x040E}, {"nb", 0x0414},
    {"nb_NO", 0x0414}, {"uk", 0x0422}, {"uk_UA", 0x0422}, {"ar", 0x0401}, {"ar_SA", 0x0401}, {"he", 0x040D},
    {"he_IL", 0x040D}, {"th", 0x041E}, {"th_TH", 0x041E}, {"vi", 0x042A}, {"vi_VN", 0x042A},
};

uint16_t Find(const std::string& locale)
{
    for (const TLocaleRow& row : LOCALES) {
        if (locale == row.Locale)
            return row.LangId;
    }
    return 0;
}

}  // namespace

uint16_t LocaleToLangId(const std::string& locale)
{
    // "ll_CC.encoding@modifier": the encoding and modifier do not matter here.
    const std::string name = locale.substr(0, locale.find_first_of(".@"));
    const std::string language = name.substr(0, name.find('_'));
    if (const uint16_t exact = Find(name))
        return exact;
    if (const uint16_t usual = Find(language))
        return usual;
    return LANG_ID_ENGLISH_US;
}

uint16_t GetSystemDefaultLangID()
{
#ifdef _WIN32
    // Windows names its languages by these identifiers itself.
    return WindowsDefaultLangId();
#else
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return LocaleToLangId(value);
    }
    return LANG_ID_ENGLISH_US;
#endif
}
