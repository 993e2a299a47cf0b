#pragma once

#include "platform/file_system.h"
#include "platform/shell_file_operation.h"

#include <QObject>

class QWidget;

namespace tralvo {

class Messages;

// The desktop's copy and delete, built on Qt: a copy asks before it replaces a file (Yes,
// Yes to all, No, Cancel), shows its progress once it takes longer than a moment, can be
// cancelled, keeps modification times and never leaves a partial file; a delete asks once
// for the whole list and moves files on the home folder's volume to the trash, deleting
// files elsewhere (a player, a USB stick) for good. Each failure shows an error box and
// the operation goes on with the next file. Owned by owner when one is given.
class QtShellFileOperation : public QObject, public ShellFileOperation {
public:
    QtShellFileOperation(QWidget* owner, Messages& messages, FileSystem& fs = SystemFileSystem());

    void Copy(const std::vector<std::string>& sources,
              const std::vector<std::string>& targets) override;
    void Delete(const std::vector<std::string>& paths) override;

    // How long a copy runs before its progress shows (tests show it at once).
    void SetProgressDelay(int milliseconds) { progressDelay_ = milliseconds; }

private:
    enum class ReplaceAnswer { Yes, YesToAll, No, Cancel };
    ReplaceAnswer AskReplace(const std::string& target);
    void ReportError(const char* textKey, const std::string& path);
    bool OnHomeVolume(const std::string& path, const std::string& homeVolume);
    std::string OwnerName() const;
    std::string OwnerCaption() const;

    QWidget* owner_;
    Messages& messages_;
    FileSystem& fs_;
    int progressDelay_ = 500;
};

} // namespace tralvo
