#pragma once

#include "platform/status.h"

#include <string>

namespace tralvo {

// The user's home folder: $HOME when it is absolute, else the user database's entry; empty
// when neither gives an absolute folder.
std::string HomeFolder();

// An XDG base folder, without a trailing '/': the variable's value when it is absolute (a
// relative or empty one counts as unset), else underHome below the home folder (".config",
// ".local/state"); empty without either.
std::string UserBaseFolder(const char* variable, const std::string& underHome);

// Makes folder and every missing folder on its way, each private to the user as the XDG rules
// ask; fails when folder is not a folder in the end.
Status MakePrivateFolders(const std::string& folder);

} // namespace tralvo
