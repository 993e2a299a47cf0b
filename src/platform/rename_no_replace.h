#pragma once

#include "platform/status.h"

#include <string>

namespace tralvo {

// A rename that refuses an existing target: 0 on success, else -1 with errno set, as
// renameat2 with RENAME_NOREPLACE answers.
using RenameNoReplaceCall = int (*)(const char* from, const char* to);

// renameat2(RENAME_NOREPLACE) relative to the current folder.
int SystemRenameNoReplace(const char* from, const char* to);

// Renames from to to through call; where the file system refuses the flag (EINVAL, ENOSYS),
// checks that to does not exist and renames plainly. Never replaces an existing target:
// that fails with EEXIST.
Status RenameWithoutReplacing(const std::string& from, const std::string& to,
                              RenameNoReplaceCall call);

} // namespace tralvo
