#include "arrange/loaded_folder.h"

#include "arrange/track_loading.h"

namespace tralvo {

LoadedFolder LoadPlayerFolder(const std::string& folder, PlayerOrder order, FileSystem& fs) {
    return {FolderWithSlash(folder), order, LoadTracks(folder, order, fs)};
}

} // namespace tralvo
