#pragma once

#include "arrange/track_list.h"
#include "platform/file_system.h"
#include "platform/shell_file_operation.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tralvo {

// A list of the main window whose items stand for files. The transfers bring it in line
// with the disk through these calls, so that a view over it can follow each change.
class FileItemList {
public:
    virtual ~FileItemList() = default;
    virtual std::size_t Count() const = 0;
    // The full path of the item's file.
    virtual std::string PathOf(std::size_t index) const = 0;
    virtual void Remove(std::size_t index) = 0;
};

// The track list; an item's path is its TrackPath.
class TrackItems : public FileItemList {
public:
    virtual const TrackList& Tracks() const = 0;
    // Replaces the item's record by one read anew from its file.
    virtual void RenewFile(std::size_t index, std::unique_ptr<media::SoundFile> file) = 0;
    virtual void Append(TrackEntry entry) = 0;
    std::size_t Count() const override { return Tracks().size(); }
};

// The file list: bare names of files in the computer folder.
class NameItems : public FileItemList {
public:
    virtual const std::vector<std::string>& Names() const = 0;
    virtual void Append(std::string name) = 0;
    std::size_t Count() const override { return Names().size(); }
};

// What an upload copies, and what becomes of the track list afterwards.
struct UploadPlan {
    std::vector<std::string> sources;
    std::vector<std::string> targets;  // targets[i] belongs to sources[i]
    std::vector<std::string> replaced; // display strings of tracks whose files are overwritten
    std::vector<std::string> added;    // names of files that become new tracks
};

// What a download copies, and what becomes of the file list afterwards.
struct DownloadPlan {
    std::vector<std::string> sources;
    std::vector<std::string> targets;
    std::vector<std::string> newNames; // names the file list does not show yet
};

// names are file-list items in list order. A name that a track shows, or that is the name
// of a track's file, goes onto that track's file; any other goes into playerFolder. Names
// whose files are missing are left out. Names compare without regard to case.
UploadPlan PlanUpload(const std::vector<std::string>& names, const std::string& computerFolder,
                      const std::string& playerFolder, const TrackItems& tracks, FileSystem& fs);

// rows are track-list rows in list order. A copy is named as its track is shown; when an
// earlier track of the same download already took that name, by the name of its file.
// Tracks whose files are missing are left out.
DownloadPlan PlanDownload(const std::vector<std::size_t>& rows, const TrackItems& tracks,
                          const std::string& computerFolder, const NameItems& files,
                          FileSystem& fs);

// Copies the named files of computerFolder to the player folder and brings the track list
// in line: a replaced track keeps its place and name and has its tags read again, or
// leaves the list when its file is gone; new tracks come at the end, in the given order,
// where their copies exist. Answers whether it appended a track.
bool UploadFiles(const std::vector<std::string>& names, const std::string& computerFolder,
                 const std::string& playerFolder, TrackItems& tracks, ShellFileOperation& shell,
                 FileSystem& fs);

// Copies the tracks at rows to computerFolder and appends to the file list each new name
// whose copy exists.
void DownloadTracks(const std::vector<std::size_t>& rows, const TrackItems& tracks,
                    const std::string& computerFolder, NameItems& files, ShellFileOperation& shell,
                    FileSystem& fs);

// Deletes the files of the items at rows. When one of them is playingFile (compared after
// lower-casing A to Z), stopPlayback runs before anything is deleted. Items leave the list
// only when their files are really gone.
void DeleteItems(const std::vector<std::size_t>& rows, FileItemList& items,
                 const std::string& playingFile, const std::function<void()>& stopPlayback,
                 ShellFileOperation& shell, FileSystem& fs);

} // namespace tralvo
