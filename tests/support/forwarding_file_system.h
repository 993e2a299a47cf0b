#pragma once

#include "platform/forwarding_file_system.h"

namespace tralvo::test {

// The tests wrap the real file system to fail or watch chosen calls.
using ForwardingFileSystem = tralvo::ForwardingFileSystem;

} // namespace tralvo::test
