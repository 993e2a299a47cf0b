#include "media/writers/id3v2_writer.h"
#include "platform/ini_file.h"
#include "support/read_only_folder.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using test::ProcessResult;
using test::TempFolder;

ProcessResult Cli(const std::vector<std::string>& args) {
    return test::RunProcess(TRALVO_CLI_PATH, args);
}

constexpr std::string_view SmallCatalogue = "[Languages]\nCount=2\n"
                                            "[Language0]\nName=English\nCode=EN\n"
                                            "[Language1]\nName=Fran\xC3\xA7\x61is\nCode=FR\n"
                                            "[Language1-Strings]\nError=Erreur\\s\n";

TEST(CliSettings, RunsTheStartAndEndStepsAndPrintsTheRecordInFieldOrder) {
    TempFolder dir;
    dir.WriteFile("Tralvo.lng", SmallCatalogue);
    dir.WriteFile("Tralvo.ini",
                  "[Player]\nDrive=e:\\\nType=257\n[Window]\nLastMyPlayerPath=/m\\x\t\n");
    const ProcessResult run = Cli({"settings", "--dir", dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "FirstRun=0\n"
                       "Language=0\n"
                       "LargeFileIconsAtStart=1\n"
                       "LargeFileIcons=1\n"
                       "PlayerDrive=@\n"
                       "PlayerType=1\n"
                       "Only83FileNames=0\n"
                       "SortKey1=2\n"
                       "SortKey2=3\n"
                       "SortKey3=1\n"
                       "WindowMaximized=0\n"
                       "WindowWidth=-1\n"
                       "WindowHeight=-1\n"
                       "WindowLeft=-1\n"
                       "WindowTop=-1\n"
                       "SplitterPos=-1\n"
                       "LastMyComputerPath=\n"
                       "LastMyPlayerPath=/m\\\\x\n");
    const IniFile saved(dir / "Tralvo.ini");
    EXPECT_EQ(saved.ReadString("Player", "Drive", "?"), "@");
    EXPECT_EQ(saved.ReadString("Player", "Type", "?"), "1");
}

TEST(CliSettings, AFirstRunLeavesAFileWithEverySettingBehind) {
    TempFolder dir;
    ASSERT_EQ(Cli({"settings", "--dir", dir.path()}).out.substr(0, 11), "FirstRun=1\n");
    const IniFile saved(dir / "Tralvo.ini");
    for (const auto& [section, key] :
         std::vector<std::pair<std::string, std::string>>{{"Appearance", "Language"},
                                                          {"Appearance", "LargeFileIcons"},
                                                          {"Player", "Drive"},
                                                          {"Player", "Type"},
                                                          {"Player", "Only83FileNames"},
                                                          {"Sort", "1"},
                                                          {"Sort", "2"},
                                                          {"Sort", "3"},
                                                          {"Window", "Maximized"},
                                                          {"Window", "Width"},
                                                          {"Window", "Height"},
                                                          {"Window", "Left"},
                                                          {"Window", "Top"},
                                                          {"Window", "Splitter"},
                                                          {"Window", "LastMyComputerPath"},
                                                          {"Window", "LastMyPlayerPath"}}) {
        EXPECT_TRUE(saved.HasKey(section, key)) << section << "/" << key;
    }
    EXPECT_EQ(saved.ReadString("Window", "Width", "?"), "-1");
    EXPECT_EQ(Cli({"settings", "--dir", dir.path()}).out.substr(0, 11), "FirstRun=0\n");
}

TEST(CliSettings, AnUnwritableFileIsReportedByName) {
    TempFolder dir;
    const std::string locked = dir.MakeFolder("locked");
    test::ReadOnlyFolder readOnly(locked);
    if (!readOnly.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    const ProcessResult run = Cli({"settings", "--dir", locked});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(locked + "/Tralvo.ini"), std::string::npos) << run.err;
}

TEST(CliLang, LooksUpStringsPropertiesNamesAndCodesInTheChosenLanguage) {
    TempFolder dir;
    dir.WriteFile("Tralvo.lng", SmallCatalogue);
    EXPECT_EQ(Cli({"lang", "--dir", dir.path(), "--language", "1", "string", "Error", "Nope"}).out,
              "Erreur \nUnknown String (ID: Nope)\n");
    EXPECT_EQ(Cli({"lang", "--dir", dir.path(), "names"}).out, "English\nFran\\xC3\\xA7ais\n");
    EXPECT_EQ(Cli({"lang", "--language", "1", "--dir", dir.path(), "code"}).out, "FR\n");
    EXPECT_EQ(Cli({"lang", "--dir", dir.path(), "property", "--report", "T.X.Hint"}).out,
              "Unknown Property (ID: T.X.Hint)\n");
    EXPECT_EQ(Cli({"lang", "--dir", dir.path(), "property", "T.X.Hint"}).out, "\n");
}

TEST(CliLang, FormatEscapesWhatItPrints) {
    const ProcessResult run = Cli({"lang", "format", "%0|%1", "tab\there|back\\slash\x7F"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "tab\\there|back\\\\slash\\x7F\n");
}

TEST(CliLang, CheckListsEveryMissingKeyPerLanguage) {
    TempFolder dir;
    dir.WriteFile("Tralvo.lng", SmallCatalogue);
    const ProcessResult run = Cli({"lang", "--dir", dir.path(), "check"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Language0\tError\n"), std::string::npos);
    EXPECT_EQ(run.out.find("Language1\tError\n"), std::string::npos);
    EXPECT_NE(run.out.find("Language1\tTSettingsForm.OKBtn.Caption\n"), std::string::npos);
}

TEST(CliLang, TheShippedCatalogueHasEveryKeyInEveryLanguage) {
    const ProcessResult run = Cli({"lang", "--dir", TRALVO_BIN_DIR, "check"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(CliTags, PrintsOneEscapedLinePerFile) {
    TempFolder dir;
    std::string id3v1(128, '\0');
    id3v1.replace(0, 3, "TAG");
    id3v1.replace(3, 4, "T\xE9tu");
    id3v1.replace(33, 8, "A\tB\\Band");
    id3v1[126] = 9;
    const std::string mp3 = dir.WriteFile("song.mp3", std::string(300, '\xFF') + id3v1);
    const std::string wav = dir.WriteFile("b.WAV", "RIFF");
    const ProcessResult run = Cli({"tags", mp3, wav});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "0\t1\tT\\xE9tu\tA\\tB\\\\Band\t\t\t\t9\t" + mp3 + "\n" +
                           "3\t0\t\t\t\t\t\t0\t" + wav + "\n");
}

TEST(CliId3v2, PrintsTheLoadResultAndEachFrameAskedFor) {
    TempFolder dir;
    // An ID3v2.3 tag with one title frame, then a byte of audio.
    const std::string tag = std::string("ID3\x03\x00\x00\x00\x00\x00\x0F", 10) +
                            std::string("TIT2\x00\x00\x00\x05\x00\x00\x00Song", 15) + "\xFF";
    const std::string file = dir.WriteFile("a.mp3", tag);
    EXPECT_EQ(Cli({"id3v2", file, "TIT2", "TPE1", "COMM", "TXXX"}).out,
              "result 0x0000\nTIT2\t0\tSong\nTPE1\t1\t\nCOMM\t1\t\nTXXX\t3\t\n");
    EXPECT_EQ(Cli({"id3v2", dir.WriteFile("b.mp3", "no tag here")}).out, "result 0x1000\n");
}

// A version 3 frame, compressed and grouped, whose stored decompressed size is too small, as
// some taggers write it.
TEST(CliTags, ACompressedFrameWithAWrongStoredSizeReads) {
    TempFolder dir;
    test::Id3v2Frame frame = test::TextFrame("TPE1", "Zipped Grouped");
    frame.compressed = true;
    frame.groupId = 1;
    frame.dataLength = 3;
    const std::string mp3 = dir.WriteFile(
        "zipped.mp3", test::AsString(test::Mp3File(test::Id3v2TagWriter(3).Add(frame).Build())));
    EXPECT_EQ(Cli({"id3v2", mp3, "TPE1"}).out, "result 0x0000\nTPE1\t0\tZipped Grouped\n");
    EXPECT_EQ(Cli({"tags", mp3}).out, "0\t1\t\tZipped Grouped\t\t\t\t0\t" + mp3 + "\n");
}

// Without SDL_AUDIODRIVER the sound system would be probed and complain on a machine without
// a sound card; a command-line tool needs no sound device.
TEST(CliTags, PrintsNothingOnStandardErrorForFilesThatReadCleanly) {
    const std::string fixtures = TRALVO_FIXTURES_DIR;
    for (const std::string& file : {fixtures + "/tone.ogg", fixtures + "/tone.wma"}) {
        for (const bool unset : {true, false}) {
            const ProcessResult run = test::RunProcess(
                TRALVO_CLI_PATH, {"tags", file},
                unset ? std::vector<std::string>{"SDL_AUDIODRIVER"} : std::vector<std::string>{});
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.err, "") << file;
            EXPECT_NE(run.out.find("Tone Artist"), std::string::npos) << run.out;
        }
    }
}

TEST(Cli, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"settings", "--dir"},
                                               {"settings", "extra"},
                                               {"lang"},
                                               {"lang", "--language", "x", "code"},
                                               {"lang", "bogus"},
                                               {"lang", "names", "extra"},
                                               {"tags"},
                                               {"id3v2"}}) {
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

} // namespace
} // namespace tralvo
