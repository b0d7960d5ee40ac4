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

TEST(Placeholder, NumberedPlaceholdersAreFilledInOnePass)
{
    struct TCase {
        const char* Text;
        std::initializer_list<std::string> Values;
        const char* Expected;
    };
    const TCase cases[] = {
        {"{0} needs {1}", {"/tmp/", "11 MB"}, "/tmp/ needs 11 MB"},
        {"{1} before {0}, {1} again", {"a", "b"}, "b before a, b again"},
        {"{0}{1}", {"{1}", "{0}"}, "{1}{0}"},  // a value is never filled again
        {"{0} and {2}", {"a", "b"}, "a and {2}"},  // no value: the placeholder stays
        {"{x} {} {0", {"a"}, "{x} {} {0"},
        {"{{0}}", {"a"}, "{a}"},
        {"{10}", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}, "k"},
        {"", {"a"}, ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FillPlaceholders(c.Text, c.Values), c.Expected) << c.Text;
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
    {"02000D02", {"The file \"{0}\" could not be opened or read.", "无法打开或读取文件“{0}”。", "無法開啟或讀取檔案「{0}」。", "Die Datei „{0}“ konnte nicht geöffnet oder gelesen werden.", "Le fichier « {0} » n'a pas pu être ouvert ou lu.", "Impossibile aprire o leggere il file \"{0}\".", "ファイル「{0}」を開けないか、読み込めませんでした。", "Não foi possível abrir ou ler o arquivo \"{0}\".", "No se pudo abrir ni leer el archivo \"{0}\"."}},
    {"02000D03", {"\"{0}\" is not a protected executable: it holds no files that this program can read.", "“{0}”不是受保护的可执行文件：其中没有本程序可以读取的文件。", "「{0}」不是受保護的執行檔：其中沒有本程式可以讀取的檔案。", "„{0}“ ist keine geschützte ausführbare Datei: Sie enthält keine Dateien, die dieses Programm lesen kann.", "« {0} » n'est pas un exécutable protégé : il ne contient aucun fichier que ce programme sait lire.", "\"{0}\" non è un eseguibile protetto: non contiene file che questo programma possa leggere.", "「{0}」は保護された実行ファイルではありません。このプログラムで読み込めるファイルは含まれていません。", "\"{0}\" não é um executável protegido: ele não contém arquivos que este programa possa ler.", "\"{0}\" no es un ejecutable protegido: no contiene archivos que este programa pueda leer."}},
    {"02000D04", {"The files inside \"{0}\" cannot be read: the file is damaged or incomplete. Try again with a complete copy of it.", "无法读取“{0}”中的文件：该文件已损坏或不完整。请使用该文件的完整副本重试。", "無法讀取「{0}」中的檔案：此檔案已損毀或不完整。請使用此檔案的完整複本再試一次。", "Die Dateien in „{0}“ können nicht gelesen werden: Die Datei ist beschädigt oder unvollständig. Versuchen Sie es mit einer vollständigen Kopie der Datei erneut.", "Les fichiers contenus dans « {0} » ne peuvent pas être lus : le fichier est endommagé ou incomplet. Réessayez avec une copie complète de ce fichier.", "Impossibile leggere i file contenuti in \"{0}\": il file è danneggiato o incompleto. Riprova con una copia completa del file.", "「{0}」の中のファイルを読み込めません。ファイルが壊れているか、不完全です。完全なコピーでもう一度お試しください。", "Não é possível ler os arquivos contidos em \"{0}\": o arquivo está danificado ou incompleto. Tente novamente com uma cópia completa do arquivo.", "No se pueden leer los archivos contenidos en \"{0}\": el archivo está dañado o incompleto. Vuelva a intentarlo con una copia completa del archivo."}},
    {"02000D05", {"The protected executable is damaged: these files could not be extracted whole: {0}", "受保护的可执行文件已损坏，以下文件未能完整释放：{0}", "受保護的執行檔已損毀，下列檔案無法完整解壓縮：{0}", "Die geschützte ausführbare Datei ist beschädigt; diese Dateien konnten nicht vollständig entpackt werden: {0}", "L'exécutable protégé est endommagé ; ces fichiers n'ont pas pu être extraits en entier : {0}", "L'eseguibile protetto è danneggiato; questi file non sono stati estratti per intero: {0}", "保護された実行ファイルが壊れています。次のファイルは完全には解凍できませんでした: {0}", "O executável protegido está danificado; estes arquivos não puderam ser extraídos por inteiro: {0}", "El ejecutable protegido está dañado; estos archivos no se pudieron extraer completos: {0}"}},
    {"02000D06", {"For safety, nothing was extracted: the archive holds names that would lead outside the output folder: {0}", "为安全起见，未释放任何文件：压缩包中的以下名称会指向输出文件夹之外：{0}", "基於安全考量，未解壓縮任何檔案：壓縮檔中的下列名稱會指向輸出資料夾之外：{0}", "Aus Sicherheitsgründen wurde nichts entpackt: Das Archiv enthält Namen, die aus dem Zielordner hinausführen würden: {0}", "Par sécurité, rien n'a été extrait : l'archive contient des noms qui mèneraient hors du dossier de destination : {0}", "Per sicurezza non è stato estratto nulla: l'archivio contiene nomi che porterebbero fuori dalla cartella di destinazione: {0}", "安全のため、何も解凍しませんでした。アーカイブには解凍先フォルダの外を指す名前が含まれています: {0}", "Por segurança, nada foi extraído: o arquivo compactado contém nomes que levariam para fora da pasta de destino: {0}", "Por seguridad, no se extrajo nada: el archivo comprimido contiene nombres que llevarían fuera de la carpeta de destino: {0}"}},
    {"02000D07", {"There is not enough free space for the program's work folder in \"{0}\": {1} are needed. Free some space on that disk and try again.", "“{0}”中没有足够的可用空间来存放程序的工作文件夹：需要 {1}。请清理该磁盘上的一些空间后重试。", "「{0}」中沒有足夠的可用空間存放程式的工作資料夾：需要 {1}。請清出該磁碟上的一些空間後再試一次。", "In „{0}“ ist nicht genug freier Speicherplatz für den Arbeitsordner des Programms: {1} werden benötigt. Schaffen Sie auf diesem Laufwerk Platz und versuchen Sie es erneut.", "L'espace libre dans « {0} » ne suffit pas pour le dossier de travail du programme : il faut {1}. Libérez de la place sur ce disque et réessayez.", "Lo spazio libero in \"{0}\" non basta per la cartella di lavoro del programma: servono {1}. Libera spazio su quel disco e riprova.", "「{0}」にはプログラムの作業フォルダ用の空き容量が足りません。{1} 必要です。ディスクの空き容量を増やしてから、もう一度お試しください。", "Não há espaço livre suficiente em \"{0}\" para a pasta de trabalho do programa: são necessários {1}. Libere espaço nesse disco e tente novamente.", "No hay espacio libre suficiente en \"{0}\" para la carpeta de trabajo del programa: se necesitan {1}. Libere espacio en ese disco y vuelva a intentarlo."}},
    {"02000D08", {"The program's work folder could not be created or written to: \"{0}\".", "无法创建或写入程序的工作文件夹：“{0}”。", "無法建立或寫入程式的工作資料夾：「{0}」。", "Der Arbeitsordner des Programms konnte nicht erstellt oder beschrieben werden: „{0}“.", "Impossible de créer le dossier de travail du programme ou d'y écrire : « {0} ».", "Impossibile creare la cartella di lavoro del programma o scrivervi: \"{0}\".", "プログラムの作業フォルダを作成できないか、書き込めませんでした:「{0}」。", "Não foi possível criar a pasta de trabalho do programa ou gravar nela: \"{0}\".", "No se pudo crear la carpeta de trabajo del programa ni escribir en ella: \"{0}\"."}},
    {"02000D09", {"Could not write to \"{0}\".", "无法写入“{0}”。", "無法寫入「{0}」。", "„{0}“ konnte nicht geschrieben werden.", "Impossible d'écrire dans « {0} ».", "Impossibile scrivere in \"{0}\".", "「{0}」に書き込めませんでした。", "Não foi possível gravar em \"{0}\".", "No se pudo escribir en \"{0}\"."}},
    {"02000D0A", {"These files could not be put into the folder \"{0}\": {1}", "以下文件无法放入文件夹“{0}”：{1}", "下列檔案無法放入資料夾「{0}」：{1}", "Diese Dateien konnten nicht im Ordner „{0}“ abgelegt werden: {1}", "Ces fichiers n'ont pas pu être placés dans le dossier « {0} » : {1}", "Impossibile collocare questi file nella cartella \"{0}\": {1}", "次のファイルをフォルダ「{0}」に置くことができませんでした: {1}", "Não foi possível colocar estes arquivos na pasta \"{0}\": {1}", "No se pudieron colocar estos archivos en la carpeta \"{0}\": {1}"}},
    {"02000D0B", {"The archive component \"{0}\" that this program needs could not be loaded.", "无法加载本程序所需的压缩组件“{0}”。", "無法載入本程式所需的壓縮元件「{0}」。", "Die Archivkomponente „{0}“, die dieses Programm benötigt, konnte nicht geladen werden.", "Le composant d'archives « {0} » dont ce programme a besoin n'a pas pu être chargé.", "Impossibile caricare il componente per archivi \"{0}\" necessario a questo programma.", "このプログラムに必要なアーカイブ コンポーネント「{0}」を読み込めませんでした。", "Não foi possível carregar o componente de arquivos \"{0}\" de que este programa precisa.", "No se pudo cargar el componente de archivos \"{0}\" que necesita este programa."}},
    {"02000D0C", {"an unexpected error occurred.", "发生了意外错误。", "發生未預期的錯誤。", "Ein unerwarteter Fehler ist aufgetreten.", "une erreur inattendue s'est produite.", "si è verificato un errore imprevisto.", "予期しないエラーが発生しました。", "ocorreu um erro inesperado.", "se produjo un error inesperado."}},
    {"02000D10", {"The disk is full.", "磁盘已满。", "磁碟已滿。", "Der Datenträger ist voll.", "Le disque est plein.", "Il disco è pieno.", "ディスクがいっぱいです。", "O disco está cheio.", "El disco está lleno."}},
    {"02000D11", {"You do not have permission to do this.", "您没有执行此操作的权限。", "您沒有執行此操作的權限。", "Sie haben dafür keine Berechtigung.", "Vous n'avez pas l'autorisation nécessaire.", "Non si dispone dell'autorizzazione necessaria.", "この操作を行う権限がありません。", "Você não tem permissão para isso.", "No tiene permiso para hacerlo."}},
    {"02000D12", {"The disk is read-only.", "该磁盘是只读的。", "該磁碟為唯讀。", "Der Datenträger ist schreibgeschützt.", "Le disque est en lecture seule.", "Il disco è di sola lettura.", "ディスクは読み取り専用です。", "O disco é somente leitura.", "El disco es de solo lectura."}},
    {"02000D13", {"The file or folder does not exist.", "文件或文件夹不存在。", "檔案或資料夾不存在。", "Die Datei oder der Ordner existiert nicht.", "Le fichier ou le dossier n'existe pas.", "Il file o la cartella non esiste.", "ファイルまたはフォルダが存在しません。", "O arquivo ou a pasta não existe.", "El archivo o la carpeta no existe."}},
    {"02000D14", {"There is a folder where a file should be.", "此处是一个文件夹，而需要的是文件。", "此處是一個資料夾，而需要的是檔案。", "An dieser Stelle steht ein Ordner, wo eine Datei sein müsste.", "Un dossier se trouve là où il faut un fichier.", "Al posto del file c'è una cartella.", "ファイルが必要な場所にフォルダがあります。", "Há uma pasta onde deveria haver um arquivo.", "Hay una carpeta donde debería haber un archivo."}},
    {"02000D15", {"There is a file where a folder should be.", "此处是一个文件，而需要的是文件夹。", "此處是一個檔案，而需要的是資料夾。", "An dieser Stelle steht eine Datei, wo ein Ordner sein müsste.", "Un fichier se trouve là où il faut un dossier.", "Al posto della cartella c'è un file.", "フォルダが必要な場所にファイルがあります。", "Há um arquivo onde deveria haver uma pasta.", "Hay un archivo donde debería haber una carpeta."}},
    {"02000D16", {"A file or folder of that name already exists.", "已存在同名的文件或文件夹。", "已存在同名的檔案或資料夾。", "Eine Datei oder ein Ordner dieses Namens existiert bereits.", "Un fichier ou un dossier de ce nom existe déjà.", "Esiste già un file o una cartella con questo nome.", "同じ名前のファイルまたはフォルダが既に存在します。", "Já existe um arquivo ou pasta com esse nome.", "Ya existe un archivo o una carpeta con ese nombre."}},
    {"02000D17", {"The file is in use by another program.", "该文件正被其他程序使用。", "該檔案正由其他程式使用中。", "Die Datei wird von einem anderen Programm verwendet.", "Le fichier est utilisé par un autre programme.", "Il file è in uso da parte di un altro programma.", "ファイルは別のプログラムで使用中です。", "O arquivo está sendo usado por outro programa.", "El archivo está siendo usado por otro programa."}},
    {"02000D18", {"The name is too long.", "名称太长。", "名稱太長。", "Der Name ist zu lang.", "Le nom est trop long.", "Il nome è troppo lungo.", "名前が長すぎます。", "O nome é muito longo.", "El nombre es demasiado largo."}},
    {"02000D19", {"A symbolic link is in the way.", "有一个符号链接妨碍了操作。", "有一個符號連結妨礙了操作。", "Eine symbolische Verknüpfung steht im Weg.", "Un lien symbolique fait obstacle.", "Un collegamento simbolico è d'intralcio.", "シンボリック リンクが妨げになっています。", "Um link simbólico está no caminho.", "Un enlace simbólico lo impide."}},
    {"02000D1A", {"The disk could not be read or written.", "无法读写磁盘。", "無法讀寫磁碟。", "Der Datenträger konnte nicht gelesen oder beschrieben werden.", "Le disque n'a pas pu être lu ou écrit.", "Impossibile leggere o scrivere il disco.", "ディスクの読み書きができませんでした。", "Não foi possível ler ou gravar no disco.", "No se pudo leer ni escribir en el disco."}},
    {"02000D1B", {"The system reported error {0}.", "系统报告了错误 {0}。", "系統回報錯誤 {0}。", "Das System meldet den Fehler {0}.", "Le système a signalé l'erreur {0}.", "Il sistema ha segnalato l'errore {0}.", "システムがエラー {0} を報告しました。", "O sistema informou o erro {0}.", "El sistema informó del error {0}."}},
    {"02000D21", {"\"{0}\"", "“{0}”", "「{0}」", "„{0}“", "« {0} »", "\"{0}\"", "「{0}」", "\"{0}\"", "\"{0}\""}},
    {"02000D22", {", ", "、", "、", ", ", ", ", ", ", "、", ", ", ", "}},
    {"02000D23", {"{0} and {1} more", "{0}，另有 {1} 个", "{0}，另有 {1} 個", "{0} und {1} weitere", "{0} et {1} autres", "{0} e altri {1}", "{0}、ほか {1} 件", "{0} e mais {1}", "{0} y {1} más"}},
    {"02000D24", {"{0} MB", "{0} MB", "{0} MB", "{0} MB", "{0} Mo", "{0} MB", "{0} MB", "{0} MB", "{0} MB"}},
    {"02000D30", {"The extraction was cancelled.", "已取消释放。", "已取消解壓縮。", "Das Entpacken wurde abgebrochen.", "L'extraction a été annulée.", "L'estrazione è stata annullata.", "解凍はキャンセルされました。", "A extração foi cancelada.", "Se canceló la extracción."}},
    {"02000D31", {"The password file \"{0}\" cannot be read.", "无法读取密码文件“{0}”。", "無法讀取密碼檔案「{0}」。", "Die Passwortdatei „{0}“ kann nicht gelesen werden.", "Le fichier de mot de passe « {0} » ne peut pas être lu.", "Impossibile leggere il file della password \"{0}\".", "パスワード ファイル「{0}」を読み込めません。", "Não é possível ler o arquivo de senha \"{0}\".", "No se puede leer el archivo de contraseña \"{0}\"."}},
    {"02000D32", {"No password was given: use --password-file or VARNHOLD_PASSWORD, or start the program from a terminal.", "未提供密码：请使用 --password-file 或 VARNHOLD_PASSWORD，或在终端中运行本程序。", "未提供密碼：請使用 --password-file 或 VARNHOLD_PASSWORD，或在終端機中執行本程式。", "Es wurde kein Passwort angegeben: Verwenden Sie --password-file oder VARNHOLD_PASSWORD, oder starten Sie das Programm in einem Terminal.", "Aucun mot de passe fourni : utilisez --password-file ou VARNHOLD_PASSWORD, ou lancez le programme depuis un terminal.", "Nessuna password fornita: usa --password-file o VARNHOLD_PASSWORD, oppure avvia il programma da un terminale.", "パスワードが指定されていません。--password-file か VARNHOLD_PASSWORD を使うか、端末からプログラムを起動してください。", "Nenhuma senha foi informada: use --password-file ou VARNHOLD_PASSWORD, ou inicie o programa em um terminal.", "No se indicó ninguna contraseña: use --password-file o VARNHOLD_PASSWORD, o inicie el programa desde un terminal."}},
    {"02000D33", {"Files of the archive already exist in the output folder, and there is no terminal to ask what to do with them: choose --overwrite replace, skip or rename.", "输出文件夹中已存在压缩包中的文件，且没有终端可以询问如何处理：请选择 --overwrite replace、skip 或 rename。", "輸出資料夾中已存在壓縮檔中的檔案，且沒有終端機可詢問如何處理：請選擇 --overwrite replace、skip 或 rename。", "Dateien des Archivs sind im Zielordner bereits vorhanden, und es gibt kein Terminal, um nachzufragen, was mit ihnen geschehen soll: Wählen Sie --overwrite replace, skip oder rename.", "Des fichiers de l'archive existent déjà dans le dossier de destination et aucun terminal ne permet de demander quoi en faire : choisissez --overwrite replace, skip ou rename.", "Alcuni file dell'archivio esistono già nella cartella di destinazione e non c'è un terminale per chiedere cosa farne: scegli --overwrite replace, skip o rename.", "アーカイブのファイルが解凍先フォルダに既に存在しますが、扱いを尋ねる端末がありません。--overwrite replace、skip、rename のいずれかを指定してください。", "Alguns arquivos compactados já existem na pasta de destino e não há terminal para perguntar o que fazer com eles: escolha --overwrite replace, skip ou rename.", "Algunos archivos del archivo comprimido ya existen en la carpeta de destino y no hay un terminal para preguntar qué hacer con ellos: elija --overwrite replace, skip o rename."}},
    {"02000D34", {"[y] yes  [n] no  [a] yes to all  [s] no to all  [r] auto rename  [c] cancel: ", "[y] 是  [n] 否  [a] 全是  [s] 全否  [r] 自动重新命名  [c] 取消：", "[y] 是  [n] 否  [a] 全部皆是  [s] 全部皆否  [r] 自動重新命名  [c] 取消：", "[y] ja  [n] nein  [a] ja für alle  [s] nein für alle  [r] automatisch umbenennen  [c] abbrechen: ", "[y] oui  [n] non  [a] oui pour tout  [s] non pour tout  [r] renommer automatiquement  [c] annuler : ", "[y] sì  [n] no  [a] tutto sì  [s] tutto no  [r] rinomina automaticamente  [c] annulla: ", "[y] はい  [n] いいえ  [a] 全て適用  [s] 全て適用しない  [r] 自動名前変更  [c] キャンセル: ", "[y] sim  [n] não  [a] sim para todos  [s] não para todos  [r] renomear automaticamente  [c] cancelar: ", "[y] sí  [n] no  [a] sí a todo  [s] no a todo  [r] renombrar automáticamente  [c] cancelar: "}},
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
