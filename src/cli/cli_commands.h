#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tralvo::cli {

// Exit codes of the tool.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

using Arguments = std::span<const std::string>;

// Each command gets the words after its name.
int RunSettingsCommand(Arguments args);
int RunLangCommand(Arguments args);
int RunTagsCommand(Arguments args);
int RunId3v2Command(Arguments args);
int RunListCommand(Arguments args);
int RunArrangeCommand(Arguments args);
int RunRecoverCommand(Arguments args);
int RunUndoCommand(Arguments args);
int RunCleanCommand(Arguments args);
int RunSendCommand(Arguments args);
int RunProbeCommand(Arguments args);

// Prints the usage text to standard error and gives ExitUsage.
int UsageError(std::string_view problem);

// Takes "--dir DIR" at args[index] if it is there, setting the program folder; advances index.
// Returns false on a "--dir" without a folder.
bool TakeDirOption(Arguments args, std::size_t& index, bool& taken);

} // namespace tralvo::cli
