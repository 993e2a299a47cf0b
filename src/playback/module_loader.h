#pragma once

#include "playback/engine_modules.h"

#include <string>

namespace tralvo {
class FileSystem;
}

namespace tralvo::playback {

// The folder, with a trailing '/', where the modules are looked for: the running program's
// own folder when they lie there, else the installed tree's module folder, unless another was
// set.
std::string ModuleFolder();

// The modules' folder for a program in programFolder (with a trailing '/'): that folder when
// the program is portable (its decoder module stands there), else the installed tree's module
// folder relative to it.
std::string ModuleFolderFor(const std::string& programFolder, FileSystem& fs);

// Stands another folder in its place, for programs that do not lie beside the modules (the
// tests); an empty folder brings back the program's own.
void SetModuleFolder(std::string folder);

// Whether the module file lies in ModuleFolder, looked at without loading it.
bool ModulePresent(const std::string& file);

// The address of the module's exported function entryName, loading the module file (in
// ModuleFolder) on first use; null when the file is missing, cannot be loaded (a library it
// needs is missing) or does not export that name. A loaded module stays loaded for the rest
// of the process, since objects made by its code may still be in use.
void* ModuleFunction(const std::string& file, const char* entryName);

// The module's entry table, or null as above or when the module was built for another
// interface.
template <class Entry>
const Entry* LoadModule(const std::string& file, const char* entryName) {
    using EntryFunction = const Entry* (*)();
    void* function = ModuleFunction(file, entryName);
    if (function == nullptr) {
        return nullptr;
    }
    const Entry* entry = reinterpret_cast<EntryFunction>(function)();
    return entry != nullptr && entry->interfaceVersion == ModuleInterfaceVersion ? entry : nullptr;
}

// The file names of the two modules, as the build names them.
std::string DecoderModuleFile();
std::string OutputModuleFile();

} // namespace tralvo::playback
