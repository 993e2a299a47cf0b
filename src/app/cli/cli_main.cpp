#include "app/cli/cli_commands.h"
#include "app/program_folder.h"

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
    "\n"
    "DIR stands for the program's folder, where Tralvo.ini and Tralvo.lng lie\n"
    "(default: the folder of this executable).\n";

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
