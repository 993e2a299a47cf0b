#pragma once

#include <QObject>
#include <string>

class QWidget;

namespace tralvo {

class ComputerPane;
class FileSystem;
class Messages;
class PlayerPane;
class PreviewPlayer;
class ShellFileOperation;

// Upload, download and delete between the two panes: each pane asks by its signals, the
// files are copied or deleted with the desktop's questions, and both lists follow. The
// window stays disabled while a transfer runs, and nothing plays a file that is deleted.
class TransferCommands : public QObject {
    Q_OBJECT
public:
    TransferCommands(QWidget& window, ComputerPane& computer, PlayerPane& player,
                     PreviewPlayer& preview, Messages& messages, FileSystem& fs);

    // Copies and deletes files with the desktop's questions; tests answer instead.
    void SetShellFileOperation(ShellFileOperation* shell) { shell_ = shell; }

private:
    // The selected files, or the files the selected playlist names.
    void Upload();
    void SendPlaylist(const std::string& path);
    void Download();
    void Delete(bool fileList);

    QWidget& window_;
    ComputerPane& computer_;
    PlayerPane& player_;
    PreviewPlayer& preview_;
    Messages& messages_;
    FileSystem& fs_;
    ShellFileOperation* shell_ = nullptr;
};

} // namespace tralvo
