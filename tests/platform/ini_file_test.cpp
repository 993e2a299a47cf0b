#include "platform/ini_file.h"
#include "platform/text.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using test::ReadFile;
using test::TempFolder;

IniFile Parsed(std::string_view text) {
    IniFile ini;
    ini.Parse(text);
    return ini;
}

TEST(IniFileRead, ComparesSectionAndKeyNamesWithoutCase) {
    const IniFile ini = Parsed("[Player]\nDrive=E\n[SORT]\nkey=1\n");
    EXPECT_EQ(ini.ReadString("player", "DRIVE", "?"), "E");
    EXPECT_EQ(ini.ReadString("Sort", "Key", "?"), "1");
    EXPECT_EQ(ini.ReadString("Player", "key", "fallback"), "fallback");
}

TEST(IniFileRead, TrimsBlanksAndStripsOneMatchingPairOfQuotes) {
    const IniFile ini = Parsed("[S]\n"
                               "plain =  \t value with  inner blanks \t \n"
                               "double=\" kept blanks \"\n"
                               "single=' x '\n"
                               "mixed=\"x'\n"
                               "nested=\"'x'\"\n"
                               "lone=\"\n"
                               "empty=\n");
    EXPECT_EQ(ini.ReadString("S", "plain", ""), "value with  inner blanks");
    EXPECT_EQ(ini.ReadString("S", "double", ""), " kept blanks ");
    EXPECT_EQ(ini.ReadString("S", "single", ""), " x ");
    EXPECT_EQ(ini.ReadString("S", "mixed", ""), "\"x'");
    EXPECT_EQ(ini.ReadString("S", "nested", ""), "'x'");
    EXPECT_EQ(ini.ReadString("S", "lone", ""), "\"");
    // An empty value is a value: the key exists, the fallback is not used.
    EXPECT_EQ(ini.ReadString("S", "empty", "fallback"), "");
}

TEST(IniFileRead, CutsValuesAfter2047Characters) {
    const std::string longValue(5000, 'v');
    const IniFile ini = Parsed("[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ini.ReadString("S", "k", "").size(), IniFile::MaxValueLength);
}

TEST(IniFileRead, IgnoresCommentsStrayLinesAndKeysBeforeAnySection) {
    const IniFile ini = Parsed("orphan=1\n; comment=2\n[S]\n;k=commented\njunk line\nk=3\n");
    EXPECT_FALSE(ini.HasKey("", "orphan"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "3");
    EXPECT_FALSE(ini.HasKey("S", ";k"));
}

TEST(IniFileRead, HandlesCrLfLineBreaksAndAByteOrderMark) {
    const IniFile ini = Parsed("\xEF\xBB\xBF[S]\r\nk=v\r\nn=2\r\n");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    EXPECT_EQ(ini.ReadInteger("S", "n", 0), 2);
}

TEST(IniFileRead, MissingFileReadsAsEmpty) {
    TempFolder folder;
    const IniFile ini(folder / "absent.ini");
    EXPECT_EQ(ini.ReadString("S", "k", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
}

TEST(IniFileRead, IntegersAndBooleansFallBackOnAnythingElse) {
    const IniFile ini = Parsed("[S]\nhex=$1F\nx=0x10\nX2=0XfF\nneg=-12\nplus=+5\nbad=12a\n"
                               "float=1.5\nzero=0\nbig=99\n");
    EXPECT_EQ(ini.ReadInteger("S", "hex", -1), 31);
    EXPECT_EQ(ini.ReadInteger("S", "x", -1), 16);
    EXPECT_EQ(ini.ReadInteger("S", "X2", -1), 255);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("S", "plus", 0), 5);
    EXPECT_EQ(ini.ReadInteger("S", "bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("S", "float", -1), -1);
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "big", false));
    EXPECT_TRUE(ini.ReadBool("S", "bad", true));
    EXPECT_FALSE(ini.ReadBool("S", "bad", false));
}

TEST(ParseInteger, AcceptsThe32BitRangeAndNothingBeyond) {
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseInteger("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseInteger("$100000000"), std::nullopt);
    EXPECT_EQ(ParseInteger("-$10"), -16);
    for (const char* bad : {"", "-", "+", "$", "0x", " 1", "1 ", "--1", "0x-1", "$g"}) {
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << '"' << bad << '"';
    }
}

TEST(IniFileWrite, ChangesOnlyTheKeysWrittenAndKeepsEveryOtherLine) {
    IniFile ini = Parsed("; Tralvo settings\n"
                         "[Player]\n"
                         "Drive = E\n"
                         "Custom=kept\n"
                         "\n"
                         "; about sorting\n"
                         "[Sort]\n"
                         "1=2\n");
    ini.WriteString("player", "drive", "F");
    ini.WriteInteger("Sort", "1", 5);
    EXPECT_EQ(ini.Text(), "; Tralvo settings\n"
                          "[Player]\n"
                          "Drive = F\n"
                          "Custom=kept\n"
                          "\n"
                          "; about sorting\n"
                          "[Sort]\n"
                          "1=5\n");
}

TEST(IniFileWrite, AddsAMissingKeyAtTheEndOfItsSectionAndAMissingSectionAtTheEnd) {
    IniFile ini = Parsed("[A]\nx=1\n\n[B]\ny=2\n");
    ini.WriteString("A", "z", "3");
    ini.WriteString("C", "w", "4");
    EXPECT_EQ(ini.Text(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=4\n");
}

TEST(IniFileWrite, KeepsCrLfLineBreaks) {
    IniFile ini = Parsed("[A]\r\nx=1\r\n");
    ini.WriteString("A", "x", "2");
    EXPECT_EQ(ini.Text(), "[A]\r\nx=2\r\n");
}

TEST(IniFileWrite, ValuesReadBackAsWritten) {
    IniFile ini;
    for (const std::string value : {" leading", "trailing ", "\"quoted\"", "'single'", "a=b;c"}) {
        ini.WriteString("S", "k", value);
        EXPECT_EQ(Parsed(ini.Text()).ReadString("S", "k", "?"), value);
    }
}

TEST(IniFileWrite, AValueWithALineBreakCannotAddLinesToTheFile) {
    IniFile ini;
    ini.WriteString("S", "path", "/music\n[Player]\nDrive=A");
    const IniFile reread = Parsed(ini.Text());
    EXPECT_FALSE(reread.HasKey("Player", "Drive"));
    EXPECT_EQ(reread.ReadString("S", "path", "?"), "");
}

TEST(IniFileSave, WritesTheFileAndReadsItBack) {
    TempFolder folder;
    IniFile ini(folder / "t.ini");
    ini.WriteInteger("S", "n", -5);
    ASSERT_TRUE(ini.Save().ok());
    EXPECT_EQ(ReadFile(folder / "t.ini"), "[S]\nn=-5\n");
    EXPECT_EQ(IniFile(folder / "t.ini").ReadInteger("S", "n", 0), -5);
}

TEST(IniFileSave, AFailureNamesTheFile) {
    TempFolder folder;
    const std::string locked = folder.MakeFolder("locked");
    test::ReadOnlyFolder readOnly(locked);
    if (!readOnly.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    IniFile ini(locked + "/Tralvo.ini");
    ini.WriteString("S", "k", "v");
    const Status status = ini.Save();
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find(locked + "/Tralvo.ini"), std::string::npos) << status.message();
}

TEST(IniFileSave, AFolderInThePlaceOfTheFileIsAFailure) {
    TempFolder folder;
    IniFile ini(folder.MakeFolder("Tralvo.ini"));
    ini.WriteString("S", "k", "v");
    EXPECT_FALSE(ini.Save().ok());
}

} // namespace
} // namespace tralvo
