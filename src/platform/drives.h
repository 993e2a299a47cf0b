#pragma once

#include "platform/file_system.h"

#include <string>

namespace tralvo {

// Root folder of the player's drive from the stored drive value: "A".."Z" give the Windows
// form kept literally ("E:\", which does not exist here, so the caller's drive check asks),
// "?" the volume of the current folder, "@" the volume of the program file, an absolute
// folder path (a value beginning with '/') that folder; anything else "C:\". Folders end in
// '/'.
std::string PlayerRootFor(const std::string& playerDrive, FileSystem& fs);

// Whether two paths lie on the same volume ("same drive"). Paths whose volume cannot be
// told (such as "E:\") compare by their first three characters, lower-cased, as on Windows.
bool SameDrive(const std::string& a, const std::string& b, FileSystem& fs);

} // namespace tralvo
