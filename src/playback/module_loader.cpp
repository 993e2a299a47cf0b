#include "playback/module_loader.h"

#include "platform/file_system.h"
#include "platform/paths.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>

#ifndef TRALVO_DECODER_MODULE
#error "the build names the decoder module (TRALVO_DECODER_MODULE)"
#endif
#ifndef TRALVO_MODULES_FROM_BIN
#error "the build names the installed module folder (TRALVO_MODULES_FROM_BIN)"
#endif
#ifndef TRALVO_OUTPUT_MODULE
#error "the build names the output module (TRALVO_OUTPUT_MODULE)"
#endif

namespace tralvo::playback {

namespace {

struct Modules {
    std::mutex mutex;
    std::optional<std::string> folder;
    // Every module file asked for, by full path: the handle, or null when it could not be
    // loaded. Handles are never closed.
    std::map<std::string, void*> handles;
};

Modules& TheModules() {
    static Modules modules;
    return modules;
}

std::string FolderLocked(Modules& modules) {
    if (!modules.folder) {
        modules.folder = ModuleFolderFor(
            FolderWithSlash(ParentFolder(SystemFileSystem().ProgramPath())), SystemFileSystem());
    }
    return *modules.folder;
}

} // namespace

std::string ModuleFolderFor(const std::string& programFolder, FileSystem& fs) {
    return fs.FileExists(programFolder + DecoderModuleFile())
               ? programFolder
               : FolderRelativeTo(programFolder, TRALVO_MODULES_FROM_BIN);
}

std::string ModuleFolder() {
    Modules& modules = TheModules();
    const std::lock_guard lock(modules.mutex);
    return FolderLocked(modules);
}

void SetModuleFolder(std::string folder) {
    Modules& modules = TheModules();
    const std::lock_guard lock(modules.mutex);
    if (folder.empty()) {
        modules.folder.reset();
        return;
    }
    modules.folder = FolderWithSlash(std::move(folder));
}

bool ModulePresent(const std::string& file) {
    struct stat info {};
    return ::stat((ModuleFolder() + file).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void* ModuleFunction(const std::string& file, const char* entryName) {
    Modules& modules = TheModules();
    const std::lock_guard lock(modules.mutex);
    const std::string path = FolderLocked(modules) + file;
    auto it = modules.handles.find(path);
    if (it == modules.handles.end()) {
        // Every symbol bound now: a library that lacks one refuses to load here instead of
        // ending the process later, in the middle of playback.
        it = modules.handles.emplace(path, ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)).first;
    }
    return it->second != nullptr ? ::dlsym(it->second, entryName) : nullptr;
}

std::string DecoderModuleFile() {
    return TRALVO_DECODER_MODULE;
}

std::string OutputModuleFile() {
    return TRALVO_OUTPUT_MODULE;
}

} // namespace tralvo::playback
