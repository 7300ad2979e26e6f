#include "config/ui_data.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "config/tracking_ids.h"

namespace {

// Every configuration value by key, as text, so whole configurations can be compared.
std::map<std::string, std::wstring> Snapshot() {
    std::map<std::string, std::wstring> values;
#define LW_SNAP_COLOR(name, value) values[#name] = std::to_wstring(name);
#define LW_SNAP_STRING(name, value) values[#name] = name;
#define LW_SNAP_INT(name, value) values[#name] = std::to_wstring(name);
    LW_COLOR_KEYS(LW_SNAP_COLOR)
    LW_STRING_KEYS(LW_SNAP_STRING)
    LW_INT_KEYS(LW_SNAP_INT)
#undef LW_SNAP_COLOR
#undef LW_SNAP_STRING
#undef LW_SNAP_INT
    return values;
}

std::string Doc(const std::string& sections) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<uidata>" + sections + "</uidata>";
}

}  // namespace

// Each test runs in a process of its own, so the values start at their built-in defaults.
TEST(BuiltInDefaults, EqualTheShippedDocumentButForTheKnownExceptions) {
    const auto defaults = Snapshot();
    LoadUiData(nullptr, L"zh");
    const auto loaded = Snapshot();
    std::set<std::string> differing;
    for (const auto& [key, value] : defaults) {
        if (loaded.at(key) != value) differing.insert(key);
    }
    const std::set<std::string> exceptions = {
        "Install_Dir", "APP_URL_64", "Kind_Tips", "Install_Note_Font_Color", "TryNo",
        "App_Version",  // replaced by the program's own FileVersion
        "UnInstall_Text_Item0_Title", "UnInstall_Text_Item1_Title", "UnInstall_Text_Item2_Title",
        "UnInstall_Text_Item0_SubTitle", "UnInstall_Text_Item1_SubTitle",
        "UnInstall_Text_Item2_SubTitle"};
    EXPECT_EQ(differing, exceptions);
    EXPECT_EQ(defaults.size(), 22u + 84u + 5u);
    EXPECT_EQ(Install_Dir, L"LarwenPic");
    EXPECT_EQ(defaults.at("Install_Dir"), L"lwpic");
    EXPECT_EQ(Install_Note_Font_Color, 0xFF8A8A8Au);
    EXPECT_EQ(TryNo, 1020);
    EXPECT_EQ(UnInstall_Text_Item0_Title, L"");  // absent from the document
    EXPECT_NE(APP_URL_32, L"");
    EXPECT_EQ(APP_URL_64, APP_URL_32);
    EXPECT_EQ(Silent_Install, 0);  // the document's item sits in the string section
}

TEST(LoadUiData, ShippedDocumentInEachLanguage) {
    LoadUiData(nullptr, L"zh");
    EXPECT_EQ(App_Name, L"岚文看图");
    EXPECT_EQ(Kind_Tips, L"温馨提示：");
    EXPECT_EQ(Uninst_App, L"\\uninstall.exe");
    EXPECT_EQ(Soft_Name_Font_Color, 0xFF111111u);
    EXPECT_EQ(Font_Size_24, 24);
    EXPECT_EQ(App_Version, L"3. 4. 5. 6");  // this program's FileVersion, commas turned to points
    EXPECT_EQ(UiData.language, L"zh");

    LoadUiData(nullptr, L"en");
    EXPECT_EQ(App_Name, L"岚文看图");  // zh only: the first language stands in
    EXPECT_EQ(Kind_Tips, L"Tips:");
    EXPECT_EQ(Setup_Name, L"setup.exe");
    EXPECT_EQ(Law_Declares_0, L"Read and agree to the\u00A0");  // the no-break space survives
    EXPECT_EQ(Law_Declares_2, L"\u00A0\u00A0");
    EXPECT_EQ(Law_Declares_4, L"");
    EXPECT_EQ(Install_Log_Text, L"Install log:\u00A0");  // the blank would be trimmed
    EXPECT_EQ(APP_SHA256_64, L"");  // no digest unless a document sets one

    LoadUiData(nullptr, L"ja");
    EXPECT_EQ(Overwrite_NO, L"上書きインストール");
    EXPECT_FALSE(Overwrite_Note.empty());
}

TEST(LoadUiData, LanguageFromTheUserInterface) {
    const struct { LANGID id; const wchar_t* code; } cases[] = {
        {0x0804, L"zh"}, {0x0409, L"en"}, {0x0411, L"ja"}, {0x0421, L"en"}, {0x042A, L"vi"},
        {0x0C0A, L"es"}, {0x0404, L""},   {0x0809, L""},   {0x040A, L""},   {0x0000, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(PickUiLanguageFor(c.id), c.code) << std::hex << c.id;
    // An empty code asks the user interface; these tests run with a Chinese user.
    LoadUiData(nullptr, L"");
    EXPECT_EQ(UiData.language, L"zh");
    EXPECT_EQ(App_Name, L"岚文看图");
}

TEST(LoadUiData, ItemLookupRules) {
    const std::string doc = Doc(
        "<string>"
        "<item name='Cancel'><zh>a</zh><ZH>b</ZH></item>"
        "<item name='Cancel'><zh>second</zh></item>"
        "<item name='Text_Ok'>own<en>english</en></item>"
        "<item name='app_name'><zh>wrong case</zh></item>"
        "<item name='Termination'><en/></item>"
        "<item name='Install_Text'>  spaced\n\n   out  </item>"
        "<item name='Select_Path'>bad \xC3\x28 utf-8</item>"
        "</string>"
        "<color><item name='Soft_Name_Font_Color' a='300' r='1' g='2'/></color>"
        "<INT><item name='Font_Size_14' v=' 15px'/><item name='TryNo' v='-7'/></INT>");
    LoadUiDataFromDocument(doc, L"zh");
    EXPECT_EQ(Cancel, L"a");         // first case-insensitive language match, first item
    EXPECT_EQ(Text_Ok, L"own");      // own text when no child matches
    EXPECT_EQ(App_Name, L"");        // keys compare with case
    EXPECT_EQ(Install_Text, L"spaced out");
    EXPECT_EQ(Select_Path, L"");     // invalid UTF-8 gives nothing rather than a part
    EXPECT_EQ(Soft_Name_Font_Color, 0x2C010200u);  // 300 & 0xFF; missing b is 0
    EXPECT_EQ(Font_Size_14, 15);
    EXPECT_EQ(TryNo, -7);
    EXPECT_EQ(Font_Size_24, 0);      // not found: 0
    EXPECT_EQ(Termination_Font_Color, 0xFF000000u);  // not found: opaque black

    LoadUiDataFromDocument(doc, L"en");
    EXPECT_EQ(Text_Ok, L"english");
    EXPECT_EQ(Termination, L"");     // an element without text
    LoadUiDataFromDocument(doc, L"ko");
    EXPECT_EQ(Cancel, L"a");         // no element in the language and no own text: the first
    EXPECT_EQ(Text_Ok, L"own");
}

TEST(LoadUiData, ANamelessItemEndsEverySearch) {
    LoadUiDataFromDocument(
        Doc("<string><item name='Cancel'>c</item><item>x</item><item name='Text_Ok'>ok</item>"
            "</string><int><item name=''/><item name='TryNo' v='5'/></int>"),
        L"zh");
    EXPECT_EQ(Cancel, L"c");
    EXPECT_EQ(Text_Ok, L"");
    EXPECT_EQ(TryNo, 0);
}

TEST(LoadUiData, TrackingIdsAndSilentFlagOnlyWhenNotSetBefore) {
    const std::string doc = Doc(
        "<string><item name='Silent_Install'>1</item></string>"
        "<int><item name='Tid1' v='0'/><item name='Tid2' v='5'/><item name='Silent_Install' v='1'/></int>");
    LoadUiDataFromDocument(doc, L"zh");
    EXPECT_EQ(Tid1, 0);  // the document's pair is taken as it is, unchecked
    EXPECT_EQ(Tid2, 5);
    EXPECT_EQ(Silent_Install, 1);

    Tid1 = 3; Tid2 = 1; Silent_Install = 7;
    LoadUiDataFromDocument(doc, L"zh");
    EXPECT_EQ(Tid1, 3);
    EXPECT_EQ(Tid2, 1);
    EXPECT_EQ(Silent_Install, 7);
}

TEST(LoadUiData, UnusableDocumentsChangeNothing) {
    const char* documents[] = {
        "",
        "<uidata><string><item name='Cancel'>x</item></string>",  // unclosed
        "<config><string><item name='Cancel'>x</item></string></config>",
        "\xEF\xBB\xBF<uidata><string><item name='Cancel'>\x01\xFF</item>",
        "not xml at all",
    };
    for (const char* document : documents) {
        Cancel = L"sentinel";
        App_Version = L"9.9";
        LoadUiDataFromDocument(document, L"zh");
        EXPECT_EQ(Cancel, L"sentinel") << document;
        EXPECT_EQ(App_Version, L"9.9") << document;
    }
}

TEST(LoadUiData, AcceptsAnyCaseOfTheRootAndCrLf) {
    LoadUiDataFromDocument("<UIDATA>\r\n<String>\r\n<item name='Cancel'>\r\n<zh>x\r\ny</zh>\r\n"
                           "</item>\r\n</String></UIDATA>",
                           L"zh");
    EXPECT_EQ(Cancel, L"x y");
    EXPECT_EQ(App_Name, L"");  // every key is read: missing ones take their not-found value
    EXPECT_EQ(Soft_Name_Font_Color, 0xFF000000u);
}

// TinyXML steps over a whole UTF-8 sequence as its first byte announces it. A document that
// ends inside such a sequence must still end there: nothing after its end is read, neither
// the bytes after a null character within the text nor the memory after the text.
TEST(LoadUiData, ADocumentCutInsideAUtf8SequenceEndsThere) {
    const struct {
        const char* name;
        std::string document;
    } cases[] = {
        // With the sequence read past the null, "</uidata>" after it would close the root.
        {"cut before a null",
         std::string("<uidata><int><item name='TryNo' v='7'/></int>x\xE5\0a</uidata>", 58)},
        {"cut before a null in an attribute",
         std::string("<uidata><int><item name='TryNo' v='7\xF0\0ab'/></int></uidata>", 58)},
        {"cut at the very end", "<uidata><int><item name='TryNo' v='7'/></int>    \xE5"},
        {"cut in an attribute at the end", "<uidata><int><item name='TryNo' v='\xF0"},
    };
    for (const auto& c : cases) {
        TryNo = 1000;
        LoadUiDataFromDocument(c.document, L"zh");
        EXPECT_EQ(TryNo, 1000) << c.name;
    }
}
