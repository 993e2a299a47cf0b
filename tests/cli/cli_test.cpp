#include "cli/cli_run.h"
#include "media/writers/id3v2_writer.h"
#include "platform/ini_file.h"
#include "support/named_pipe.h"
#include "support/private_state_folder.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

using test::Cli;
using test::ProcessResult;
using test::TempFolder;

// The journals of every arrange below, and of nothing else.
const test::PrivateStateFolder stateFolder;

constexpr std::string_view SmallCatalogue = "[Languages]\nCount=2\n"
                                            "[Language0]\nName=English\nCode=EN\n"
                                            "[Language1]\nName=Fran\xC3\xA7\x61is\nCode=FR\n"
                                            "[Language1-Strings]\nError=Erreur\\s\n";

TEST(CliSettings, ListsTheKnownPlayersAfterTheRecordWithTheCurrentOnesGlobalValues) {
    TempFolder dir;
    dir.WriteFile("Tralvo.lng", SmallCatalogue);
    dir.WriteFile("Tralvo.ini", "[Player]\nType=2\nVolume=1234-abcd\n"
                                "[Player 1234-ABCD]\nLabel=MY STICK\nType=0\n"
                                "[Player 9F00-0001]\nType=1\nOnly83FileNames=1\n"
                                "[Player bad]\nType=1\n");
    const ProcessResult run = Cli({"settings", "--dir", dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::size_t players = run.out.find("NaturalSort=0\n");
    ASSERT_NE(players, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(players), "NaturalSort=0\n"
                                       "CurrentPlayer=\n"
                                       "Player=1234-ABCD\tMY STICK\t2\t0\n"
                                       "Player=9F00-0001\t\t1\t1\n");
    const IniFile saved(dir / "Tralvo.ini");
    EXPECT_EQ(saved.ReadString("Player 1234-ABCD", "Type", "?"), "2");
}

TEST(CliSettings, RunsTheStartAndEndStepsAndPrintsTheRecordInFieldOrder) {
    TempFolder dir;
    dir.WriteFile("Tralvo.lng", SmallCatalogue);
    dir.WriteFile("Tralvo.ini",
                  "[Player]\nDrive=e:\\\nType=257\n[Window]\nLastMyPlayerPath=/m\\x\t\n"
                  "[Sort]\nNatural=1\n");
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
                       "LastMyPlayerPath=/m\\\\x\n"
                       "NaturalSort=1\n"
                       "CurrentPlayer=\n"); // the program's folder lies on no player volume
    const IniFile saved(dir / "Tralvo.ini");
    EXPECT_EQ(saved.ReadString("Player", "Drive", "?"), "@");
    EXPECT_EQ(saved.ReadString("Player", "Type", "?"), "1");
    EXPECT_EQ(saved.ReadString("Sort", "Natural", "?"), "1");
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
                                                          {"Sort", "Natural"},
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

// Every entry of folder, by name, sorted.
std::vector<std::string> Names(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliList, ShowsTheTracksInFileNameOrderWithoutTheirPrefixes) {
    TempFolder dir;
    dir.WriteFile("{2}b.mp3", "b");
    dir.WriteFile("a.OGG", "a");
    dir.WriteFile("{1}c.wma", "c");
    dir.WriteFile("{}d.wav", "d");
    dir.WriteFile("notes.txt", "not a track");
    dir.MakeFolder("sub.mp3");
    const ProcessResult run = Cli({"list", "--type", "1", dir.path()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const std::string f = dir.path() + "/";
    EXPECT_EQ(run.out, "1\ta.OGG\t" + f + "a.OGG\n" + "2\tc.wma\t" + f + "{1}c.wma\n" +
                           "3\tb.mp3\t" + f + "{2}b.mp3\n" + "4\t{}d.wav\t" + f + "{}d.wav\n");
    EXPECT_EQ(Cli({"list", dir / "missing"}).exitCode, 1);
}

// Under timeout(1): an open of a named pipe for reading would keep the tool waiting for a writer
// that never comes.
ProcessResult CliWithinTenSeconds(const std::vector<std::string>& args) {
    std::vector<std::string> words{"10", TRALVO_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    return test::RunProcess("/usr/bin/timeout", words);
}

TEST(CliList, NamedPipesWithAudioNamesAreNoTracksAndNoCommandWaitsOnThem) {
    TempFolder dir;
    dir.WriteFile("a.mp3", test::AsString(test::Mp3File({}, 1, test::Id3v1Fields{.title = "A"})));
    const std::vector<std::string> pipes = {dir / "x.mp3", dir / "x.ogg", dir / "x.wav"};
    for (const std::string& pipe : pipes) {
        ASSERT_TRUE(test::MakeNamedPipe(pipe)) << pipe;
    }
    for (const char* type : {"0", "1", "2"}) {
        const ProcessResult list = CliWithinTenSeconds({"list", "--type", type, dir.path()});
        EXPECT_EQ(list.exitCode, 0) << type;
        EXPECT_EQ(list.out, "1\ta.mp3\t" + dir / "a.mp3" + "\n") << type;
    }
    for (const char* type : {"0", "2", "1"}) {
        const ProcessResult run =
            CliWithinTenSeconds({"arrange", "--type", type, "--sort", "1,0,0", dir.path()});
        EXPECT_EQ(run.exitCode, 0) << type << ": " << run.err;
        EXPECT_EQ(run.out.substr(0, 8), "1\ta.mp3\t") << type;
    }
    std::vector<std::string> tags = {"tags"};
    tags.insert(tags.end(), pipes.begin(), pipes.end());
    const ProcessResult read = CliWithinTenSeconds(tags);
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, "0\t0\t\t\t\t\t\t0\t" + pipes[0] + "\n" + "1\t0\t\t\t\t\t\t0\t" + pipes[1] +
                            "\n" + "3\t0\t\t\t\t\t\t0\t" + pipes[2] + "\n");
    for (const std::string& pipe : pipes) {
        EXPECT_TRUE(test::IsNamedPipe(pipe)) << pipe;
    }
}

// The order file reads back what list prints, escapes and all.
TEST(CliArrange, AnOrderFileRenamesTheTracksWithPrefixes) {
    TempFolder dir;
    TempFolder work;
    dir.WriteFile("{2}b.mp3", "b");
    dir.WriteFile("a.ogg", "a");
    dir.WriteFile("t\xE9\\st.mp3", "t");
    const std::string order = work.WriteFile("order", "t\\xe9\\\\st.mp3\r\nb.mp3\n\na.ogg");
    const std::string f = dir.path() + "/";

    const ProcessResult dry =
        Cli({"arrange", "--type", "1", "--order", order, "--dry-run", dir.path()});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out, "1\tt\\xE9\\\\st.mp3\t" + f + "t\\xE9\\\\st.mp3\n" + "2\tb.mp3\t" + f +
                           "{2}b.mp3\n" + "3\ta.ogg\t" + f + "a.ogg\n");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"a.ogg", "t\xE9\\st.mp3", "{2}b.mp3"}));

    const ProcessResult run = Cli({"arrange", "--type", "1", "--order", order, dir.path()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "1\tt\\xE9\\\\st.mp3\t" + f + "{1}t\\xE9\\\\st.mp3\n" + "2\tb.mp3\t" + f +
                           "{2}b.mp3\n" + "3\ta.ogg\t" + f + "{3}a.ogg\n");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"{1}t\xE9\\st.mp3", "{2}b.mp3", "{3}a.ogg"}));
    EXPECT_EQ(test::ReadFile(f + "{3}a.ogg"), "a");
}

TEST(CliArrange, SortsByTheKeysGivenWithUntaggedTracksFirst) {
    TempFolder dir;
    const auto tagged = [&](const std::string& name, const std::string& artist,
                            const std::string& album) {
        dir.WriteFile(name, test::AsString(test::Mp3File(
                                {}, 1, test::Id3v1Fields{.artist = artist, .album = album})));
    };
    tagged("1.mp3", "B", "X");
    tagged("2.mp3", "a", "Y");
    tagged("3.mp3", "A", "X");
    dir.WriteFile("4.mp3", test::AsString(test::Mp3File({}, 1)));
    const auto order = [&](const std::string& option) {
        const ProcessResult run = Cli({"arrange", "--type", "1", option, "2,3,1", dir.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::string names;
        for (const std::string name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"}) {
            const auto found = run.out.find("\t" + name + "\t");
            names += found == std::string::npos ? '?' : run.out[found - 1];
        }
        return names;
    };
    // Positions of 1 to 4: the untagged 4.mp3 first, then A/X, A/Y, B/X.
    EXPECT_EQ(order("--sort"), "4321");
    EXPECT_EQ(Names(dir),
              (std::vector<std::string>{"{1}4.mp3", "{2}3.mp3", "{3}2.mp3", "{4}1.mp3"}));
    EXPECT_EQ(order("--reverse-sort"), "1234");
}

TEST(CliArrange, AnOrderFileThatDoesNotNameEveryTrackOnceChangesNothing) {
    TempFolder dir;
    TempFolder work;
    dir.WriteFile("a.mp3", "a");
    dir.WriteFile("{1}x.mp3", "x1");
    dir.WriteFile("{2}x.mp3", "x2");
    for (const auto& [content, named] : std::vector<std::pair<std::string, std::string>>{
             {"x.mp3\na.mp3\n", "missing track: x.mp3"},
             {"x.mp3\nx.mp3\na.mp3\na.mp3\n", "repeated track: a.mp3"},
             {"x.mp3\nx.mp3\na.mp3\nb.mp3\n", "unknown track: b.mp3"},
             {"x.mp3\nx.mp3\na\\q.mp3\n", "line 3"}}) {
        const ProcessResult run = Cli(
            {"arrange", "--type", "1", "--order", work.WriteFile("order", content), dir.path()});
        EXPECT_EQ(run.exitCode, 2) << content;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"a.mp3", "{1}x.mp3", "{2}x.mp3"}));
    // A name that two tracks show is given twice, and the two keep their order.
    EXPECT_EQ(Cli({"arrange", "--type", "1", "--order",
                   work.WriteFile("order", "x.mp3\na.mp3\nx.mp3\n"), dir.path()})
                  .exitCode,
              0);
    EXPECT_EQ(test::ReadFile(dir / "{1}x.mp3") + test::ReadFile(dir / "{3}x.mp3"), "x1x2");
}

// Error boxes come out in English (the language coded "EN", not the default), one line each.
TEST(CliArrange, EachFailureIsAnErrorLineAndTheRunExitsWithOne) {
    TempFolder program;
    program.WriteFile("Tralvo.lng", "[Languages]\nCount=2\nDefault=0\n"
                                    "[Language0]\nCode=FR\n"
                                    "[Language0-Strings]\nRenameError=Renommer %0\n"
                                    "[Language1]\nCode=EN\n"
                                    "[Language1-Strings]\nRenameError=Cannot\\nrename %0\n"
                                    "TralvoFailed=Wrong\\norder\n");
    TempFolder dir;
    dir.WriteFile("a.mp3", "a");
    dir.WriteFile("b\nc.mp3", "b");
    dir.WriteFile("1.qz_temp", "left by an earlier run");
    TempFolder work;
    const std::string order = work.WriteFile("order", "a.mp3\nb\\nc.mp3\n");
    const auto arrange = [&] {
        return Cli(
            {"arrange", "--dir", program.path(), "--type", "1", "--order", order, dir.path()});
    };
    ProcessResult run = arrange();
    EXPECT_EQ(run.exitCode, 1);
    // The stray temporary name makes arrange say that recover would put it back, and then
    // run as ever.
    EXPECT_EQ(run.err, "Note: " + dir.path() + " holds what an interrupted run left behind; " +
                           "\"tralvo-cli recover " + dir.path() + "\" puts it back together\n" +
                           "Error: Cannot rename " + dir.path() + "/b\\nc.mp3\n" +
                           "Error: Cannot rename " + dir.path() + "/1.qz_temp\n" +
                           "Error: Wrong order\n");
    // The list read back: b\nc.mp3 kept its name, which sorts before every prefix.
    EXPECT_EQ(run.out, "1\tb\\nc.mp3\t" + dir.path() + "/b\\nc.mp3\n" + "2\ta.mp3\t" + dir.path() +
                           "/{1}a.mp3\n");
    EXPECT_EQ(test::ReadFile(dir / "1.qz_temp"), "left by an earlier run");

    // Failed steps fail the run even when the order came out as arranged.
    std::filesystem::rename(dir / "1.qz_temp", dir / "0.qz_temp");
    work.WriteFile("order", "b\\nc.mp3\na.mp3\n");
    run = arrange();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("/0.qz_temp\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Wrong order"), std::string::npos) << run.err;
}

// A move whose text names no reason is followed by the system's, escaped as a field is: the
// paths of the player folder may hold line breaks.
TEST(CliArrange, AMoveIntoATemporaryFolderSaysWhyItFailed) {
    TempFolder base;
    // A folder whose longest name fits, but not in QZ_TEMP1 below it.
    std::string folder = base.path();
    while (3835 - folder.size() > 252) {
        folder += "/" + std::string(250, 'd');
    }
    folder += "/" + std::string(3835 - folder.size() - 1, 'e');
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    const std::string name = std::string(251, 't') + ".mp3";
    test::WriteWholeFile(folder + "/" + name, "t");
    test::WriteWholeFile(folder + "/a.mp3", "a");

    const ProcessResult run = Cli({"arrange", "--type", "0", "--reverse-sort", "0,0,0", folder});
    EXPECT_EQ(run.exitCode, 1);
    const std::string line = "Error: Could not move \"" + name +
                             "\" into a temporary folder. rename " + folder + "/" + name + " -> " +
                             folder + "/QZ_TEMP1/" + name + ": File name too long\n";
    EXPECT_EQ(run.err.rfind(line, 0), 0u) << run.err;
    // A text with a reason of its own keeps to it.
    EXPECT_NE(run.err.find("if so, move it back yourself.\n"), std::string::npos) << run.err;
}

std::string Mp3Titled(const std::string& title) {
    return test::AsString(test::Mp3File({}, 1, test::Id3v1Fields{.title = title}));
}

TEST(CliRecover, ListAndArrangeNameRecoverAndRecoverPutsTheFolderBackTogether) {
    TempFolder dir;
    dir.WriteFile("a.mp3", "a");
    const ProcessResult clean = Cli({"list", dir.path()});
    EXPECT_EQ(clean.err, "");
    dir.MakeFolder("QZ_TEMP1");
    dir.WriteFile("QZ_TEMP1/b.mp3", "b");
    dir.WriteFile("3.qz_temp", Mp3Titled("Three: Live"));

    const ProcessResult list = Cli({"list", dir.path()});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, clean.out);
    EXPECT_EQ(list.err, "Note: " + dir.path() +
                            " holds what an interrupted run left behind; \"tralvo-cli recover " +
                            dir.path() + "\" puts it back together\n");

    ProcessResult run = Cli({"recover", dir.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "moved\tQZ_TEMP1/b.mp3\tb.mp3\n"
                       "removed\tQZ_TEMP1\n"
                       "renamed\t3.qz_temp\tThree_ Live.mp3\n");
    EXPECT_EQ(run.err, "Information: The player folder has been put back together. All its files "
                       "are back in it.\n");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"Three_ Live.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(Cli({"list", dir.path()}).err, "");
    EXPECT_EQ(Cli({"recover", dir.path()}).out, "");

    dir.WriteFile("5.qz_temp", "not a sound");
    run = Cli({"recover", dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "kept\t5.qz_temp\tnot an audio file\n");
    EXPECT_NE(run.err.find("Error: Not everything could be put back."), std::string::npos);
    EXPECT_NE(run.err.find(" 5.qz_temp "), std::string::npos) << run.err;
}

// Whether the state folder holds a journal of the folder's runs.
bool HasJournal(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(stateFolder.journals(), error)) {
        if (test::ReadFile(entry.path().string()).find("\nfolder\t" + folder + "/\n") !=
            std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(CliUndo, TakesTheLastArrangeBackFromItsJournal) {
    TempFolder dir;
    dir.WriteFile("a.mp3", "a");
    dir.WriteFile("{5}b.mp3", "b");
    dir.WriteFile("c.mp3", "c");
    const std::vector<std::string> before = Names(dir);
    const ProcessResult listed = Cli({"list", "--type", "1", dir.path()});
    TempFolder work;
    const std::string order = work.WriteFile("order", "c.mp3\nb.mp3\na.mp3\n");
    ASSERT_EQ(Cli({"arrange", "--type", "1", "--order", order, dir.path()}).exitCode, 0);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"{1}c.mp3", "{2}b.mp3", "{3}a.mp3"}));
    // The journal lies in the state folder, not in the player folder.
    EXPECT_TRUE(HasJournal(dir.path()));

    ProcessResult run = Cli({"undo", "--type", "1", dir.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, listed.out);
    EXPECT_EQ(Names(dir), before);

    run = Cli({"undo", dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Information: There is nothing to undo in this folder.\n");
}

TEST(CliArrange, AJournalThatCannotBeWrittenChangesNothing) {
    TempFolder state;
    const std::string locked = state.MakeFolder("tralvo");
    test::ReadOnlyFolder readOnly(locked);
    if (!readOnly.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    TempFolder dir;
    dir.WriteFile("a.mp3", "a");
    dir.WriteFile("b.mp3", "b");
    ::setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const ProcessResult run =
        Cli({"arrange", "--type", "1", "--reverse-sort", "0,0,0", dir.path()});
    ::setenv("XDG_STATE_HOME", stateFolder.path().c_str(), 1);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind(
                  "Error: Tralvo could not write its record of the run to \"" + locked + "/", 0),
              0u)
        << run.err;
    EXPECT_EQ(run.err.find("TralvoFailed"), std::string::npos);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"a.mp3", "b.mp3"}));
}

// The names list or a dry run prints, in their order: each line's second field.
std::vector<std::string> ShownNames(const std::string& listing) {
    std::vector<std::string> names;
    std::size_t line = 0;
    while (line < listing.size()) {
        const std::size_t end = listing.find('\n', line);
        const std::size_t first = listing.find('\t', line);
        const std::size_t second = listing.find('\t', first + 1);
        names.push_back(listing.substr(first + 1, second - first - 1));
        line = end + 1;
    }
    return names;
}

TEST(CliArrange, NaturalSortsTrackTwoBeforeTrackTenEitherWayAndOnlyWithTheSorts) {
    TempFolder dir;
    for (const char* name : {"Track 10.mp3", "Track 2.mp3", "Track 1.mp3"}) {
        dir.WriteFile(name, name); // untagged: the untagged rule's paths decide
    }
    const auto shown = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "arrange");
        args.insert(args.end(), {"--dry-run", dir.path()});
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return ShownNames(run.out);
    };
    const std::vector<std::string> natural = {"Track 1.mp3", "Track 2.mp3", "Track 10.mp3"};
    EXPECT_EQ(shown({"--sort", "2,3,1"}),
              (std::vector<std::string>{"Track 1.mp3", "Track 10.mp3", "Track 2.mp3"}));
    EXPECT_EQ(shown({"--sort", "2,3,1", "--natural"}), natural);
    EXPECT_EQ(shown({"--natural", "--sort", "0,0,0"}), natural);
    EXPECT_EQ(shown({"--natural", "--reverse-sort", "2,3,1"}),
              (std::vector<std::string>{"Track 10.mp3", "Track 2.mp3", "Track 1.mp3"}));

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"arrange", "--natural", "--shuffle", dir.path()},
             {"arrange", "--order", "-", "--natural", dir.path()}}) {
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("--natural goes with --sort or --reverse-sort"), std::string::npos)
            << run.err;
    }
    EXPECT_EQ(Cli({"arrange", "--natural", dir.path()}).exitCode, 2);
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
                                               {"id3v2"},
                                               {"list"},
                                               {"list", "--type", "3", "."},
                                               {"list", "--type", "01", "."},
                                               {"list", "a", "b"},
                                               {"arrange", "."},
                                               {"arrange", "--shuffle", "--sort", "0,0,0", "."},
                                               {"arrange", "--sort", "0,9,0", "."},
                                               {"arrange", "--sort", "0,0", "."},
                                               {"arrange", "--order", "/nonexistent", "."},
                                               {"arrange", "--shuffle", "--bogus", "."},
                                               {"arrange", "--shuffle"},
                                               {"recover"},
                                               {"recover", "a", "b"},
                                               {"recover", "--bogus", "."},
                                               {"undo", "--type", "5", "."},
                                               {"undo"}}) {
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

} // namespace
} // namespace tralvo
