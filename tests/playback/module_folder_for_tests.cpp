#include "playback/module_loader.h"

// Test programs lie in the build's tests/ folder; the engine's modules lie beside the
// programs, in bin/.
namespace {

[[maybe_unused]] const bool moduleFolderSet = [] {
    tralvo::playback::SetModuleFolder(TRALVO_MODULE_FOLDER);
    return true;
}();

} // namespace
