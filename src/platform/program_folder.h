#pragma once

#include <string>

namespace tralvo {

// The folder of the program file, with a trailing '/'. SetProgramFolder stands another folder
// in its place (the command-line tool's --dir, tests); such a folder holds the settings, the
// catalogue and the help pages whatever the layout.
std::string ProgramFolder();
void SetProgramFolder(std::string folder);
bool ProgramFolderChosen();

// Where the catalogue and the help pages lie, with a trailing '/': beside the program when its
// catalogue stands there (the build's bin/ folder, a copy of it, a stick), else the installed
// tree's data folder, found from the program's folder so that a moved prefix works too.
std::string DataFolder();

// The installed tree's folder that relative names from the program's folder.
std::string InstalledFolder(const std::string& relativeToProgram);

} // namespace tralvo
