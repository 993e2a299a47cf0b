#include "cli/cli_commands.h"
#include "platform/program_folder.h"
#include "platform/version_record.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace tralvo::cli {

namespace {

constexpr std::string_view UsageText =
    "usage: tralvo-cli settings [--dir DIR]\n"
    "       tralvo-cli lang [--dir DIR] [--language N] string KEY...\n"
    "       tralvo-cli lang [--dir DIR] [--language N] property [--report] KEY...\n"
    "       tralvo-cli lang [--dir DIR] [--language N] format TEMPLATE [ARGUMENTS]\n"
    "       tralvo-cli lang [--dir DIR] [--language N] names | code | check\n"
    "       tralvo-cli tags FILE...\n"
    "       tralvo-cli id3v2 FILE [ID...]\n"
    "       tralvo-cli list [--type N] [--only83] [--m3u8] FOLDER\n"
    "       tralvo-cli arrange [--dir DIR] [--type N] [--only83]\n"
    "                  (--sort K1,K2,K3 | --reverse-sort K1,K2,K3 | --shuffle | --order FILE\n"
    "                  | --playlist FILE) [--natural] [--dry-run] FOLDER\n"
    "       tralvo-cli recover [--dir DIR] [--type N] [--only83] FOLDER\n"
    "       tralvo-cli undo [--dir DIR] [--type N] [--only83] FOLDER\n"
    "       tralvo-cli clean [--dry-run] FOLDER\n"
    "       tralvo-cli send [--dir DIR] [--type N] [--only83] [--dry-run] PLAYLIST FOLDER\n"
    "       tralvo-cli probe [--dir DIR] [--remove | --heard WORD] FOLDER\n"
    "       tralvo-cli help | --version\n"
    "\n"
    "DIR stands for the program's folder, where Tralvo.ini and Tralvo.lng lie. By default\n"
    "the tool uses the program's own: Tralvo.lng beside this executable or, installed, in\n"
    "../share/tralvo; Tralvo.ini beside this executable when it stands there or the folder\n"
    "is a writable copy of the program, else $XDG_CONFIG_HOME/tralvo (~/.config/tralvo).\n"
    "\n"
    "settings prints the settings, one NAME=VALUE line each, then CurrentPlayer=ID TAB\n"
    "LABEL for the player volume the player drive lies on (nothing after = when it lies on\n"
    "none) and Player=ID TAB LABEL TAB TYPE TAB ONLY83 for each player met so far.\n"
    "\n"
    "list prints the tracks of FOLDER in the order the player plays them, one line each:\n"
    "position, name shown, path on disk, TAB-separated. Backslash, TAB, CR, LF and every\n"
    "byte outside 0x20..0x7E are written \\\\, \\t, \\r, \\n and \\xHH. N is the player type:\n"
    "0 directory order (default), 1 file names, 2 creation times; --only83 orders file\n"
    "names by their short 8.3 form.\n"
    "\n"
    "list --m3u8 prints the list as an M3U8 playlist instead, in UTF-8 with LF line ends:\n"
    "#EXTM3U, then for each track #EXTINF:SECONDS,ARTIST - TITLE (the title alone, or the\n"
    "name shown, where the tags lack them; SECONDS is -1 unless a tag gives the length)\n"
    "and its name on disk, relative to FOLDER. Saved in FOLDER, it is a playlist the player\n"
    "can play, and arrange --playlist puts the folder back into its order.\n"
    "\n"
    "arrange puts the list in a new order, rewrites FOLDER so that the player plays it so,\n"
    "reads the list back and prints it as list does. Sort keys: 0 file name, 1 title,\n"
    "2 artist, 3 album, 4 year, 5 comment, 6 track number, 7 creation time, 8 short path;\n"
    "as with the Sort button, tracks without a tag come first (last when reversed).\n"
    "--natural, with either sort, compares numbers inside the text keys (not the year) by\n"
    "value, track 2 before track 10, as the settings' natural order does.\n"
    "--shuffle draws from the time of day. --order FILE (\"-\" for standard input) has one\n"
    "name per line, written as list writes it (its second field): a backslash must start\n"
    "one of the escapes above, other bytes stand for themselves, a CR ending a line and\n"
    "empty lines are ignored. It names every track exactly once; a name that several\n"
    "tracks show is given once for each and takes them in list order. An unknown, repeated\n"
    "or missing name stops arrange before anything changes. --dry-run only prints the new\n"
    "order. Each failure is an \"Error: TEXT\" line on standard error, in English, with the\n"
    "name escaped; arrange then exits with 1, as it does when the order read back is not\n"
    "the arranged one. Usage errors exit with 2. On a terminal, standard error counts the\n"
    "run's steps as it goes.\n"
    "\n"
    "--playlist FILE arranges by an M3U, M3U8, PLS or XSPF playlist (told by its extension,\n"
    "else by its content): the tracks it names come first, in its order, the others keep\n"
    "their order after them. An entry names a track by its file name, with or without the\n"
    "order prefix of type 1, in the letter case rules of FOLDER's volume; relative entries\n"
    "start from the playlist's folder, and a playlist made on the computer for the same\n"
    "files matches as well. Each entry that names no track is a \"Not on the player: NAME\"\n"
    "line on standard error, and arrange goes on; a playlist that cannot be read stops it\n"
    "with an \"Error:\" line and exit 1 before anything changes.\n"
    "\n"
    "Creation times (type 2): this system cannot set a file's creation time, but a file\n"
    "gets one when it is made. So arrange makes the tracks anew in the new order, from the\n"
    "first one out of order on: each is copied within FOLDER (N.qz_copy), the copy is\n"
    "written to the disk and takes the original's name (the original waits as N.qz_temp\n"
    "and is then removed), the next one at least one step of the clock later: 2 seconds on\n"
    "FAT and exFAT, whose players may read no finer. Up to about 2 seconds a track, so 100\n"
    "tracks take up to 3 or 4 minutes. Contents, names and modification times stay; a\n"
    "volume without room for a copy of the largest such track is refused before anything\n"
    "changes.\n"
    "\n"
    "Before its first change arrange writes a journal of the run to the state folder\n"
    "($XDG_STATE_HOME/tralvo, else ~/.local/state/tralvo), never into FOLDER, and keeps it\n"
    "afterwards as the record for undo. The journal names the player by its volume (UUID or\n"
    "serial number) and the folder below the volume's root, so recover finds it when the\n"
    "player comes back at another mount point. When FOLDER holds what an interrupted run\n"
    "left (QZ_TEMP1, QZ_TEMP2, N.qz_temp, N.qz_copy files), list and arrange say so in a\n"
    "\"Note:\" line on standard error and otherwise work as ever. A type-0 run does not\n"
    "start while FOLDER holds an entry named QZ_TEMP1 or QZ_TEMP2 in any letter case. Only\n"
    "one arrange, undo or recover at a time changes a folder; another one says so and\n"
    "changes nothing (list still works).\n"
    "\n"
    "Ctrl+C, SIGTERM or SIGHUP during arrange or undo stop it at its next step: the folder\n"
    "is put back as recover would put it back (a type-1 run in its second pass finishes\n"
    "instead), the tool says what it did and exits 1. A second such signal ends the tool at\n"
    "once; recover then puts the folder back.\n"
    "\n"
    "recover puts such a folder back together: with the journal every file gets back its\n"
    "name and place, found by its bytes (size and a hash of its first and last 64 KiB),\n"
    "not by a name that several tracks may share; recover itself may be cut off and run\n"
    "again. Without the journal the temporary folders are emptied into FOLDER, each\n"
    "N.qz_temp file is named after its title tag (in UTF-8) where that name is unique and\n"
    "free, and an N.qz_copy file is removed where another file holds its bytes. After a\n"
    "type-2 run every track is as it was or its complete copy, under its own name. Nothing\n"
    "is overwritten. It prints one line per step (moved FROM TO, renamed FROM TO, time NAME,\n"
    "removed NAME) and one per entry it could not restore (kept NAME REASON), names\n"
    "relative to FOLDER; exit 0 when everything is back, else 1. It takes --type and\n"
    "--only83 as list does, but the journal, not they, tells how the run went.\n"
    "\n"
    "undo arranges FOLDER back into its order before the last arrange there, with that\n"
    "run's strategy (the journal's, whatever --type says), reads the list back and prints\n"
    "it as list does with --type and --only83; exit as for arrange.\n"
    "\n"
    "clean removes for good what computers leave in FOLDER and players trip over: a Mac's\n"
    "._ companion files (told by their AppleDouble header; a ._ file of real audio stays),\n"
    ".DS_Store, Thumbs.db and desktop.ini, and the folders .Trashes, .Spotlight-V100,\n"
    ".fseventsd and .TemporaryItems with everything in them; names in any letter case where\n"
    "the volume folds case, links never followed, subfolders not looked into. It prints one\n"
    "line per entry (name, size in bytes) and a total line, then, unless --dry-run is given,\n"
    "removed NAME, gone NAME (vanished meanwhile) or kept NAME REASON for each; exit 0 when\n"
    "every entry listed is gone, else 1. list and arrange point such files out in a\n"
    "\"Note:\" line.\n"
    "\n"
    "send copies every file that PLAYLIST (M3U, M3U8, PLS or XSPF) names into FOLDER, under\n"
    "its own name, then arranges FOLDER in the playlist's order as arrange --playlist does\n"
    "(the tracks it does not name keep their order after the others) and prints the list\n"
    "as list does. Relative entries start from the playlist's folder. A file that FOLDER\n"
    "holds already with the same bytes (size and a hash of its first and last 64 KiB) is\n"
    "not copied again; a different file of the same name in FOLDER stops send with an\n"
    "\"Error:\" line before anything is copied, since it replaces nothing. Each file the\n"
    "playlist names that does not exist is a \"Missing: NAME\" line on standard error, and\n"
    "send goes on. A copy that fails leaves nothing behind. --dry-run only prints a line\n"
    "per copy (copy, source, name in FOLDER). Exit 0 when everything went, 1 when a file\n"
    "was missing or a step failed.\n"
    "\n"
    "probe writes the folder TRALVO_PROBE into FOLDER (best the player's root): three\n"
    "short tracks that say one, two and three in the language of the settings (English\n"
    "where there are no sounds for it). Their directory order, name order and creation\n"
    "order each start with another word, so the word the player plays first tells its\n"
    "type: one directory order (type 0), two file names (type 1), three creation times\n"
    "(type 2). The tracks are made a step of the clock apart, as arrange makes them for\n"
    "type 2, which takes a few seconds on FAT. A TRALVO_PROBE that holds anything besides\n"
    "the probe's tracks is left alone, and probe exits 1. --heard WORD (one, two, three\n"
    "or 1, 2, 3: the word played first) stores the player type it tells in the settings\n"
    "and removes the probe folder; --remove only removes it. Both remove the probe's own\n"
    "tracks and folders only, and nothing in a TRALVO_PROBE that holds anything else.\n";

} // namespace

int UsageError(std::string_view problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "tralvo-cli: %.*s\n", static_cast<int>(problem.size()),
                     problem.data());
    }
    std::fwrite(UsageText.data(), 1, UsageText.size(), stderr);
    return ExitUsage;
}

bool TakeDirOption(Arguments args, std::size_t& index, bool& taken) {
    taken = false;
    if (index >= args.size() || args[index] != "--dir") {
        return true;
    }
    if (index + 1 >= args.size()) {
        return false;
    }
    SetProgramFolder(args[index + 1]);
    index += 2;
    taken = true;
    return true;
}

int Run(Arguments args) {
    if (args.empty()) {
        return UsageError("no command given");
    }
    const std::string& command = args.front();
    const Arguments rest = args.subspan(1);
    if (command == "settings") {
        return RunSettingsCommand(rest);
    }
    if (command == "lang") {
        return RunLangCommand(rest);
    }
    if (command == "tags") {
        return RunTagsCommand(rest);
    }
    if (command == "id3v2") {
        return RunId3v2Command(rest);
    }
    if (command == "list") {
        return RunListCommand(rest);
    }
    if (command == "arrange") {
        return RunArrangeCommand(rest);
    }
    if (command == "recover") {
        return RunRecoverCommand(rest);
    }
    if (command == "undo") {
        return RunUndoCommand(rest);
    }
    if (command == "clean") {
        return RunCleanCommand(rest);
    }
    if (command == "send") {
        return RunSendCommand(rest);
    }
    if (command == "probe") {
        return RunProbeCommand(rest);
    }
    if (command == "--version") {
        const std::string text =
            VersionText(VersionRecord(ProgramVersionRecordText()), "tralvo-cli");
        std::fwrite(text.data(), 1, text.size(), stdout);
        return ExitOk;
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::fwrite(UsageText.data(), 1, UsageText.size(), stdout);
        return ExitOk;
    }
    return UsageError("unknown command: " + command);
}

} // namespace tralvo::cli

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argc > 0 ? argv + 1 : argv, argv + argc);
        return tralvo::cli::Run(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tralvo-cli: %s\n", error.what());
        return tralvo::cli::ExitFailure;
    }
}
