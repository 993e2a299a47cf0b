#pragma once

#include <string>

namespace tralvo {

// The folder of the program file, with a trailing '/': where the settings, the catalogue and
// the help pages lie. SetProgramFolder stands another folder in its place (the command-line
// tool's --dir, tests).
std::string ProgramFolder();
void SetProgramFolder(std::string folder);

} // namespace tralvo
