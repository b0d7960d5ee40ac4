#include "extract/WorkFolder.h"
#include "lang/LangText.h"
#include "lang/ProfileReader.h"
#include "platform/LanguageId.h"
#include "platform/Paths.h"
#include "platform/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

TEST(LanguageChoice, ByIdentifier)
{
    const std::pair<uint16_t, const char*> cases[] = {
        {0x0409, "Lang_English"},     {0x0809, "Lang_English"},    {0x0412, "Lang_English"},
        {0x0419, "Lang_English"},     {0x0407, "Lang_Deutsch"},    {0x0807, "Lang_Deutsch"},
        {0x0C0A, "Lang_Spanish"},     {0x040A, "Lang_Spanish"},    {0x340A, "Lang_Spanish"},
        {0x0804, "Lang_Simplified"},  {0x0404, "Lang_Traditional"}, {0x0C04, "Lang_Traditional"},
        {0x1004, "Lang_Traditional"}, {0x0416, "Lang_Portuguese"}, {0x0816, "Lang_Portuguese"},
        {0x0411, "Lang_Japanese"},    {0x040C, "Lang_French"},     {0x0C0C, "Lang_French"},
        {0x0410, "Lang_Italian"},     {0x0810, "Lang_Italian"},    {0x0000, "Lang_English"},
    };
    for (const auto& [id, resource] : cases)
        EXPECT_EQ(LanguageResourceName(id), resource) << std::hex << id;
}

TEST(LanguageChoice, LocaleToIdentifier)
{
    const std::pair<const char*, uint16_t> cases[] = {
        {"de_CH.UTF-8", 0x0807}, {"en_GB.UTF-8", 0x0809}, {"es_ES.UTF-8", 0x0C0A}, {"es_CL", 0x340A},
        {"zh_TW.UTF-8", 0x0404}, {"zh_SG", 0x1004},       {"pt_BR.UTF-8", 0x0416}, {"ko_KR.UTF-8", 0x0412},
        {"ja_JP.eucJP", 0x0411}, {"fr_CA@euro", 0x0C0C}, {"de", 0x0407},          {"de_XX.UTF-8", 0x0407},
        {"C", 0x0409},           {"POSIX", 0x0409},       {"C.UTF-8", 0x0409},     {"", 0x0409},
        {"xx_YY", 0x0409},
    };
    for (const auto& [locale, id] : cases)
        EXPECT_EQ(LocaleToLangId(locale), id) << locale;
}

#ifndef _WIN32
// Sets the locale variables for one test and puts back what was there.
class TLocaleEnvironment {
public:
    TLocaleEnvironment()
    {
        for (const char* name : NAMES) {
            const char* value = std::getenv(name);
            FSaved.emplace_back(value != nullptr, value ? value : "");
        }
    }
    ~TLocaleEnvironment()
    {
        for (size_t i = 0; i < std::size(NAMES); ++i) {
            if (FSaved[i].first)
                setenv(NAMES[i], FSaved[i].second.c_str(), 1);
            else
                unsetenv(NAMES[i]);
        }
    }
    TLocaleEnvironment(const TLocaleEnvironment&) = delete;
    TLocaleEnvironment& operator=(const TLocaleEnvironment&) = delete;

    // nullptr leaves the variable unset.
    void Set(const char* lcAll, const char* lcMessages, const char* lang)
    {
        const char* values[] = {lcAll, lcMessages, lang};
        for (size_t i = 0; i < std::size(NAMES); ++i) {
            if (values[i])
                setenv(NAMES[i], values[i], 1);
            else
                unsetenv(NAMES[i]);
        }
    }

private:
    static constexpr const char* NAMES[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<bool, std::string>> FSaved;
};

TEST(LanguageChoice, EnvironmentOrder)
{
    struct TCase {
        const char* LcAll;
        const char* LcMessages;
        const char* Lang;
        uint16_t Expected;
    };
    const TCase cases[] = {
        {"fr_FR.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8", 0x040C},
        {nullptr, "de_DE.UTF-8", "ja_JP.UTF-8", 0x0407},
        {"", "de_DE.UTF-8", "ja_JP.UTF-8", 0x0407},  // an empty variable counts as unset
        {nullptr, nullptr, "ja_JP.UTF-8", 0x0411},
        {nullptr, "", "es_CL.UTF-8", 0x340A},
        {nullptr, nullptr, nullptr, 0x0409},
        {"C", "de_DE.UTF-8", "ja_JP.UTF-8", 0x0409},
    };
    TLocaleEnvironment environment;
    for (const TCase& c : cases) {
        environment.Set(c.LcAll, c.LcMessages, c.Lang);
        EXPECT_EQ(GetSystemDefaultLangID(), c.Expected)
            << (c.LcAll ? c.LcAll : "-") << " " << (c.LcMessages ? c.LcMessages : "-") << " " << (c.Lang ? c.Lang : "-");
    }
}
#endif

// A catalogue file in the real format: UTF-16LE, byte-order mark, CR LF.
void WriteUtf16(const std::string& path, const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    WriteTextFile(path, bytes);
}

TEST(ProfileReader, FollowsTheCatalogueRules)
{
    TScratchFolder scratch;
    const std::string file = scratch / "cat.txt";
    WriteUtf16(file, u";!@Lang@!UTF-8!\r\n"
                     u"; a comment\r\n"
                     u"00000000=\"Above any section\"\r\n"
                     u"[Other]\r\n"
                     u"0200AAAA=\"other section\"\r\n"
                     u"[Main]\r\n"
                     u"; 0200AAAA=\"commented out\"\r\n"
                     u"0200aaaa=\"lower-case key\"\r\n"
                     u"  0200BBBB  =  \" blanks inside stay \"   \r\n"
                     u"0200CCCC=\"\"\r\n"
                     u"0200DDDD=\"Kann den Ordner \\\"{0}\\\" nicht erstellen.\"\r\n"
                     u"0200EEEE=no quotes\r\n"
                     u"0200FFFF=\"日本語 ファイル\"\r\n"
                     u";!@LangEnd@!\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"0200AAAA", "lower-case key"},
        {"0200aAaA", "lower-case key"},
        {"0200BBBB", " blanks inside stay "},
        {"0200DDDD", "Kann den Ordner \\\"{0}\\\" nicht erstellen."},
        {"0200EEEE", "no quotes"},
        {"0200FFFF", "日本語 ファイル"},
        {"0200CCCC", "???"},
        {"00000000", "???"},
        {"02009999", "???"},
    };
    for (const auto& [key, text] : cases)
        EXPECT_EQ(GetLangText(file, "main", key), text) << key;
    EXPECT_EQ(GetLangText(file, "Other", "0200AAAA"), "other section");
    EXPECT_EQ(ReadProfileString(file, "Main", "0200CCCC", "default"), "");

    // Read anew every time: a deleted file shows at the next lookup.
    DeleteFile(file);
    EXPECT_EQ(GetLangText(file, "Main", "0200AAAA"), "???");
}

TEST(ProfileReader, LongTextIsCutAt2047Characters)
{
    TScratchFolder scratch;
    WriteTextFile(scratch / "long.txt", "[Main]\r\nKEY=\"" + std::string(3000, 'x') + "\"\r\n");
    EXPECT_EQ(GetLangText(scratch / "long.txt", "Main", "KEY"), std::string(2047, 'x'));
}

TEST(ProfileReader, NameRelativeToTheProgramsFolder)
{
    const std::string name = "lang-test-relative.txt";
    const std::string path = GetProgramFolder() + name;
    WriteTextFile(path, "[Main]\nKEY=\"found beside the program\"\n");
    EXPECT_EQ(GetLangText(name, "Main", "KEY"), "found beside the program");
    DeleteFile(path);
    EXPECT_EQ(GetLangText(name, "Main", "KEY"), "???");
    EXPECT_EQ(GetLangText("", "Main", "KEY"), "???");
}

TEST(ProfileReader, MissingAbsolutePathIsNotLookedForBesideTheProgram)
{
    const std::string name = "lang-test-absolute.txt";
    const std::string besideProgram = GetProgramFolder() + name;
    ASSERT_FALSE(FileExists("/" + name));
    WriteTextFile(besideProgram, "[Main]\nKEY=\"the program's copy\"\n");
    EXPECT_EQ(GetLangText("/" + name, "Main", "KEY"), "???");
    DeleteFile(besideProgram);
}

TEST(Placeholder, EveryOccurrenceIsFilled)
{
    EXPECT_EQ(ReplacePlaceholder("Cannot create folder '{0}'", "/out"), "Cannot create folder '/out'");
    EXPECT_EQ(ReplacePlaceholder("{0} and {0}", "x"), "x and x");
    EXPECT_EQ(ReplacePlaceholder("none", "x"), "none");
}

const char* const LANGUAGES[] = {"English", "Simplified", "Traditional", "Deutsch", "French",
                                 "Italian", "Japanese", "Portuguese", "Spanish"};

struct TCatalogueRow {
    const char* Key;
    std::array<const char*, 9> Texts;  // in the order of LANGUAGES
};

// Each text exactly as the catalogue stores it between the double quotes.
const TCatalogueRow EXPECTED[] = {
    {"01000000", {"Varnhold Configuration", "Varnhold 配置", "Varnhold Pro 組態設定", "Varnhold Einstellungen", "Configuration de Varnhold", "Varnhold Impostazioni", "Varnhold 設定", "Configuração de Varnhold ", "Ajustes de Varnhold"}},
    {"02000702", {"OK", "确定", "確定", "OK", "OK", "Conferma", "OK", "Determinar", "OK"}},
    {"02000705", {"&Yes", "是(&Y)", "是(&Y)", "Ja (&Y)", "Oui (&Y)", "Sì(&Y)", "はい(&Y)", "Sim(&Y)", "Sí(&Y)"}},
    {"02000707", {"Yes to &All", "全是(&A)", "全部皆是(&A)", "Ja für alle (&Y)", "Oui pour tout", "Tutto sì(&A)", "全て適用(&A)", "Tudo sim(&A)", " Sí a todo (&A)"}},
    {"02000709", {"&No", "否(&N)", "否(&N)", "&Nein", "Non (&N)", "No(&N)", "いいえ(&N)", "Não(&N)", "No(&N)"}},
    {"0200070B", {"No to A&ll", "全否(&L)", "全部皆否(&L)", "Nein für alle (A&)", "Non pour tout", "Tutto no(&L)", "全てじゃない(&N)", "Não todos(&L)", "No a todo (&L)"}},
    {"02000710", {"Cancel", "取消", "取消", "Abbrechen", "Annuler", "Cancella", "取消", "Cancelar", "Cancelar"}},
    {"02000800", {"Extract", "释放", "解壓縮", "Entpacken", "Extraire", "Rilascia", "解凍", "Libertar", "Extraer"}},
    {"02000801", {"E&xtract to:", "释放到(&X)：", "解壓縮至(&X):", "Entpacken nach: (E&)", "Extraire vers: (&X)", "Rilascia a (&X)：", "解凍先:(&E)", "Libertar para(&X)：", " Extraer a(&X)："}},
    {"03020209", {"Select destination folder.", "选择目标文件夹。", "選擇目標資料夾。", "Zielordner auswählen", "Sélectionnez le dossier de destination.", "Seleziona cartella di destinazione.", "目標フォルダを選択します。", "Selecione a pasta de destino.", " Seleccione la carpeta de destino."}},
    {"02000603", {"Cannot create folder '{0}'", "不能创建文件夹“{0}”", "無法建立資料夾 '{0}'", "Kann den Ordner \\\"{0}\\\" nicht erstellen.", "Le dossier '{0}' ne peut pas être créé", "Non riuscito a creare cartella“{0}”", "フォルダ'{0}'を作成できません", "Não pode criar pastas“{0}”", " No se puede crear la carpeta ¨{0} ¨"}},
    {"02000881", {"Specify a location for extracted files.", "指定一个释放文件的位置。", "請指定存放暫存壓縮檔的位置。", "Wählen Sie einen Ordner für die entpackten Dateien:", "Choisissez un emplacement pour l'extraction des fichiers.", "Scegli una posizione per salvare file", "ファイルの解凍先を指定します。", "Especifique uma posição de arquivo de libertação .", " Especifique una ubicación para los archivos extraídos."}},
    {"02000B10", {"Passwords do not match", "密码不匹配", "密碼不一致", "Die Passwörter stimmen nicht überein.", "Les mots de passe ne correspondent pas", "Password errata", "パスワードが一致していません", "Senhas não correspondem", " Las contraseñas no coinciden. "}},
    {"02000C30", {"Are you sure you want to cancel?", "您真的要取消吗？", "您確定要取消嗎?", "Möchten Sie wirklich abbrechen?", "Etes-vous certain de vouloir l'annuler ?", "Vuoi annullare?", "キャンセルしてよろしいですか?", "Tem certeza de que deseja cancelar?", " ¿Estas seguro de que quiere cancelar?"}},
    {"02000D01", {"The files could not be extracted: {0}", "无法释放文件：{0}", "無法解壓縮檔案：{0}", "Die Dateien konnten nicht entpackt werden: {0}", "Impossible d'extraire les fichiers : {0}", "Impossibile estrarre i file: {0}", "ファイルを解凍できませんでした: {0}", "Não foi possível extrair os arquivos: {0}", "No se pudieron extraer los archivos: {0}"}},
    {"02000900", {"Confirm File Replace", "确认文件替换", "確認取代檔案", "Überschreiben bestätigen", "Confirmer le remplacement de fichier", "Sostituisci", "ファイル交換確認", "Confirmar substituição de arquivo", " Confirmar el reemplazo del archivo "}},
    {"02000901", {"Destination folder already contains processed file.", "此文件夹已包含一个相同名称的文件。", "目的資料夾已包含要處理的檔案。", "Der Zielordner beinhaltet bereits eine Datei diesen Namens.", "Le dossier de destination contient déjà un fichier avec ce nom.", "In questo percorso esiste già un file con lo stesso nome", "目標フォルダは既に処理されたファイルが含まれています。", "Esta pasta já contém um arquivo com o mesmo nome。", " La carpeta de destino ya contiene el archivo procesado. "}},
    {"02000902", {"Would you like to replace the existing file", "是否将现有文件", "您要取代現有的檔案", "Wollen Sie diese Datei", "Voulez-vous remplacer le fichier existant", "Vuoi sostituire i file nella cartella di destinazione", "既存のファイルを置き換えるしますか", "Se substituir", "¿Quiere reemplazar el archivo existente "}},
    {"02000903", {"with this one?", "替换为", "而改用這個檔案嗎?", "durch diese ersetzen?", "par celui-ci ?", "con i file copiati", "これを使用しますか?", "o arquivo existente para", " con éste?"}},
    {"02000911", {"A&uto Rename", "自动重新命名(&U)", "自動重新命名(&U)", "Automatisch umbenennen (&A)", "Renommer automatiquement (&U)", "Rinominare automaticamente(&U)", "(A&)自動名前変更", "Renomear automaticamente(&U)", " Autorenombrar (&U)"}},
    {"02000982", {"{0} bytes", "{0} 字节", "{0} 位元組", "{0} Bytes", "{0} octets", "{0} bit", "{0} バイト", "{0} bytes", "{0} bytes "}},
    {"02000983", {"modified on", "修改于", "修改日期", "geändert am", "modifié le", "Ultima modifica", "修正", "Modificado em", " modificado en"}},
    {"02000B00", {"Enter password", "输入密码", "輸入密碼", "Kennworteingabe", "Taper le mot de passe", "Inserisci password", "パスワード入力", "Digite senha", " Introduzca la contraseña "}},
    {"02000B01", {"Enter password:", "输入密码：", "輸入密碼:", "Passwort eingeben:", "Taper le mot de passe :", "Inserisci password:", "パスワード入力:", "Digite senha：", " Introduzca la contraseña："}},
    {"02000B02", {"&Show password", "显示密码(&S)", "顯示密碼(&S)", "Passwort anzeigen (&S)", "Afficher le mot de passe (&S)", "Visualizza password(&S)", "パスワードを表示(&S)", "Mostrar senha(&S)", " Mostrar la contraseña (&S)"}},
    {"02000105", {"Extract files...", "释放文件...", "解壓縮檔案...", "Dateien entpacken...", "Extraire les fichiers...", "Rilascia file...", "ファイル抽出...", "Liberar arquivo...", " Extraer archivos..."}},
    {"02000C01", {"Elapsed time:", "已用时间：", "經過時間:", "Verstrichene Zeit:", "Temps écoulé:", "Tempo passato：", "経過時間:", "Tempo decorrido：", " Tiempo transcurrido:"}},
    {"02000C02", {"Remaining time:", "剩余时间：", "剩餘時間:", "Verbleibende Zeit:", "Temps restant:", "Tempo rimanente：", "残り時間:", "Tempo restante：", " Tiempo restante:"}},
    {"02000C03", {"Total size:", "总大小：", "大小:", "Gesamtdatenmenge:", "Taille:", "Dimensione totale：", "合計サイズ:", "Tamanho total：", " Tamaño total:"}},
    {"02000C04", {"Speed:", "速度：", "速度:", "Geschwindigkeit:", "Vitesse:", "Velocità：", "スピード:", "Velocidade：", " Velocidad:"}},
    {"02000C10", {"&Background", "后台(&B)", "背景作業(&B)", "Hintergrund (&B)", "Arrière plan (&B)", "Background(&B)", "バックグラウンド(&B)", "Fundo do palco(&B)", " Segundo plano (&B)"}},
    {"02000C12", {"&Pause", "暂停(&P)", "暫停(&P)", "Pause (&P)", "Pause (&P)", "Sospendi(&P)", "一時停止(&P)", "Parar(&P)", "Pausar(&P)"}},
    {"02000C13", {"&Continue", "继续(&C)", "繼續(&C)", "Fortsetzen (&C)", "Continuer (&C)", "Continua(&C)", "続く(&C)", "Continuar(&C)", "Continuar(&C)"}},
};

TEST(Catalogues, EveryLanguageHoldsEveryKeyWithItsText)
{
    TScratchFolder scratch;
    for (size_t language = 0; language < std::size(LANGUAGES); ++language) {
        const std::string file = scratch / (std::string(LANGUAGES[language]) + ".txt");
        SaveResourceToFile(std::string("Lang_") + LANGUAGES[language], "FILE", file);
        for (const TCatalogueRow& row : EXPECTED)
            EXPECT_EQ(GetLangText(file, "Main", row.Key), row.Texts[language]) << LANGUAGES[language] << " " << row.Key;
    }
}

// The embedded catalogue's bytes as UTF-16 text, without the byte-order mark
// (whose presence is checked here too).
std::u16string CatalogueText(const std::string& language)
{
    const TResourceData resource = FindResource("Lang_" + language, "FILE");
    EXPECT_TRUE(resource.Found) << language;
    if (!resource.Found)
        return std::u16string();
    const std::string bytes(reinterpret_cast<const char*>(resource.Data), resource.Size);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << language;
    EXPECT_EQ(bytes.size() % 2, 0u) << language;
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

TEST(Catalogues, FileFormat)
{
    for (const char* language : LANGUAGES) {
        const std::u16string text = CatalogueText(language);
        ASSERT_GE(text.size(), 31u) << language;
        EXPECT_EQ(text.substr(0, 17), u";!@Lang@!UTF-8!\r\n") << language;
        EXPECT_EQ(text.substr(text.size() - 14), u";!@LangEnd@!\r\n") << language;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == u'\r') << language << " at " << i;
            }
            if (text[i] == u'\r') {
                EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << language << " at " << i;
            }
        }
    }
}

// key="text" with a key of eight upper-case hexadecimal digits; blanks may
// follow the closing quote. The key, or an empty string for any other line.
std::u16string KeyOfLine(const std::u16string& line)
{
    const size_t last = line.find_last_not_of(u' ');
    if (line.size() < 11 || line[8] != u'=' || line[9] != u'"' || last == std::u16string::npos || last < 10 ||
        line[last] != u'"')
        return std::u16string();
    for (size_t i = 0; i < 8; ++i) {
        if (!((line[i] >= u'0' && line[i] <= u'9') || (line[i] >= u'A' && line[i] <= u'F')))
            return std::u16string();
    }
    return line.substr(0, 8);
}

// Catalogue keys above "[Main]", then groups of texts each opened by a comment
// line and closed by a blank line; every key once, and only the keys the
// program uses.
TEST(Catalogues, Layout)
{
    std::set<std::u16string> expectedKeys;
    for (const TCatalogueRow& row : EXPECTED)
        expectedKeys.insert(std::u16string(row.Key, row.Key + 8));
    for (const char* language : LANGUAGES) {
        const std::u16string text = CatalogueText(language);
        std::vector<std::u16string> lines;
        for (size_t start = 0, end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));

        std::vector<std::u16string> headerKeys;
        std::set<std::u16string> mainKeys;
        bool inMain = false;
        for (size_t i = 1; i + 1 < lines.size(); ++i) {
            const std::u16string& line = lines[i];
            const std::u16string& previous = lines[i - 1];
            if (line == u"[Main]") {
                EXPECT_FALSE(inMain) << language << ": a second [Main] at line " << i + 1;
                inMain = true;
                continue;
            }
            if (line.empty() || line[0] == u';') {
                if (inMain && !line.empty()) {
                    EXPECT_TRUE(previous.empty() || previous == u"[Main]") << language << ": comment inside a group, line " << i + 1;
                }
                continue;
            }
            const std::u16string key = KeyOfLine(line);
            ASSERT_FALSE(key.empty()) << language << ": not a key line, line " << i + 1;
            if (!inMain) {
                headerKeys.push_back(key);
                continue;
            }
            EXPECT_TRUE(previous[0] == u';' || !KeyOfLine(previous).empty()) << language << ": group without its comment, line " << i + 1;
            EXPECT_TRUE(mainKeys.insert(key).second) << language << ": a key repeats, line " << i + 1;
        }
        EXPECT_TRUE(inMain) << language;
        EXPECT_EQ(headerKeys, (std::vector<std::u16string>{u"00000000", u"00000001", u"00000002"})) << language;
        EXPECT_EQ(mainKeys, expectedKeys) << language;
    }
}

#ifndef _WIN32
TEST(Catalogues, WrittenForTheUsersLanguage)
{
    TScratchFolder scratch;
    TLocaleEnvironment environment;
    environment.Set("de_AT.UTF-8", nullptr, nullptr);
    WriteLanguageFile(scratch / "en.txt");
    EXPECT_EQ(GetLangText(scratch / "en.txt", "Main", "02000C04"), "Geschwindigkeit:");
}
#endif

}  // namespace
