// Velquin's desktop.ini reader against the system's profile reader: the same files, the same
// questions, the same answers; and every byte of the file kept in its lines.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "customise/ini_document.h"
#include "support/temp_folder.h"
#include "support/utf_text.h"

namespace {

using customise::IniEncoding;
using testsupport::Utf16;

struct Case {
    const char* name;
    std::string bytes;
    const wchar_t* section;
    const wchar_t* key;
    std::optional<std::wstring> expected;
};

const Case kCases[] = {
    {"plain", "[.ShellClassInfo]\r\nInfoTip=Tip\r\n", L".ShellClassInfo", L"InfoTip", L"Tip"},
    {"case and spaces", "  [.shellclassinfo]  \r\n\t infotip \t=  A  b  \r\n", L" .ShellClassInfo ",
     L"InfoTip ", L"A  b"},
    {"first of two keys", "[s]\nk=1\nK=2\n", L"s", L"k", L"1"},
    {"first section only", "[s]\na=1\n[t]\nb=2\n[S]\nb=3\n", L"s", L"b", std::nullopt},
    {"later section", "[s]\na=1\n[t]\nb=2\n[S]\nb=3\n", L"t", L"b", L"2"},
    {"no equals", "[s]\nk\n", L"s", L"k", std::nullopt},
    {"empty value", "[s]\nk=\n", L"s", L"k", L""},
    {"before any section", "k=1\n[s]\n", L"s", L"k", std::nullopt},
    {"missing section", "[s]\nk=1\n", L"t", L"k", std::nullopt},
    {"section name with ]", "[a]b]\nk=1\n", L"a]b", L"k", L"1"},
    {"unclosed section is a key", "[s]\n[x=1\n", L"s", L"[x", L"1"},
    {"comment line", "[s]\n;k=1\nk=2\n", L"s", L"k", L"2"},
    {"no line end", "[s]\r\nk=last", L"s", L"k", L"last"},
    {"lone CR ends a line", "[s]\rk=1\n\rj=2", L"s", L"j", L"2"},
    {"spaces in brackets", "[ s\t]\nk=1\n", L"s", L"k", L"1"},
    {"double quotes", "[s]\nk=\"C:\\x\\y.dll\"\n", L"s", L"k", L"C:\\x\\y.dll"},
    {"single quotes", "[s]\nk='a b'\n", L"s", L"k", L"a b"},
    {"one pair only", "[s]\nk=\"\"a\"\"\n", L"s", L"k", L"\"a\""},
    {"mixed quotes kept", "[s]\nk=\"a'\n", L"s", L"k", L"\"a'"},
    {"lone quote", "[s]\nk=\"\n", L"s", L"k", L"\""},
    {"empty quotes", "[s]\nk=\"\"\n", L"s", L"k", L""},
    {"inner quotes kept", "[s]\nk=\"a\",5\n", L"s", L"k", L"\"a\",5"},
    {"^Z is white space", "[s]\nk=\x1Av\x1A\n", L"s", L"k", L"v"},
    {"no-break space is not", "[s]\nk=\xA0v\n", L"s", L"k", L"\u00A0v"},
    {"value with =", "[s]\nk=a=b\n", L"s", L"k", L"a=b"},
    {"ANSI letters", "[s]\nk=caf\xE9\n", L"s", L"k", L"caf\u00E9"},
    {"UTF-16LE", Utf16(L"[s]\r\nk=\u65E5\u672C \u00E9\r\n"), L"s", L"k", L"\u65E5\u672C \u00E9"},
    {"UTF-16BE", Utf16(L"[s]\r\nk=\u00E9\r\n", false), L"s", L"k", L"\u00E9"},
    {"UTF-8 mark", "\xEF\xBB\xBF[s]\r\nk=\xC3\xA9\r\n", L"s", L"k", L"\u00E9"},
    {"UTF-16 odd end", Utf16(L"[s]\r\nk=v\r\n") + "x", L"s", L"k", L"v"},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class IniDocumentTest : public ::testing::TestWithParam<Case> {};

TEST_P(IniDocumentTest, AnswersAsTheProfileReader) {
    const Case& c = GetParam();
    SCOPED_TRACE(c.name);
    customise::IniDocument document = customise::ParseIni(c.bytes);
    EXPECT_EQ(customise::IniValue(document, c.section, c.key), c.expected);

    // The system's reader, given room enough, agrees (it answers a missing key with the
    // default, here a text no case holds).
    testsupport::TempFolder folder;
    const std::wstring path = folder / L"desktop.ini";
    testsupport::WriteBytes(path, c.bytes);
    std::wstring buffer(4096, L'\0');
    DWORD length = ::GetPrivateProfileStringW(c.section, c.key, L"<none>", buffer.data(),
                                              static_cast<DWORD>(buffer.size()), path.c_str());
    buffer.resize(length);
    EXPECT_EQ(buffer, c.expected.value_or(L"<none>"));

    // Every byte is in exactly one line, in order.
    std::string joined = document.byteOrderMark;
    for (const auto& line : document.lines)
        joined += line.bytes;
    EXPECT_EQ(joined, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, IniDocumentTest, ::testing::ValuesIn(kCases));

TEST(IniDocument, KeepsEveryLineAndItsEncoding) {
    const std::string bytes = Utf16(L"[s]\r\n; note\r\rk = \"v\"\nlast");
    customise::IniDocument document = customise::ParseIni(bytes);
    EXPECT_EQ(document.encoding, IniEncoding::Utf16Le);
    std::vector<std::wstring> texts;
    for (const auto& line : document.lines)
        texts.push_back(line.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"[s]", L"; note", L"", L"k = \"v\"", L"last"}));
    EXPECT_EQ(document.lines[2].kind, customise::IniLineKind::Blank);
    EXPECT_EQ(customise::FindIniKey(document, L"S", L"K"), 3u);
    EXPECT_EQ(customise::EncodeIniText(IniEncoding::Utf16Le, L"k = \"v\"\n"),
              document.lines[3].bytes);
    EXPECT_EQ(customise::EncodeIniText(IniEncoding::Ansi, L"\u65E5"), std::nullopt);
}

TEST(IniDocument, QuotedValuesKeepEveryCharacterAtEveryLength) {
    // The profile reader loses the last character of a quoted value at some buffer sizes;
    // Velquin's reader gives the whole value at any length.
    for (size_t length = 1; length < 600; length += 7) {
        const std::wstring value(length, L'a');
        customise::IniDocument document =
            customise::ParseIni("[s]\r\nk=\"" + std::string(length, 'a') + "\"\r\n");
        EXPECT_EQ(customise::IniValue(document, L"s", L"k"), value) << length;
    }
}

}  // namespace
