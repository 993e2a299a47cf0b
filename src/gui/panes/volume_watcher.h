#pragma once

#include "platform/file_system.h"
#include "platform/unique_fd.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace tralvo {

// Notices volumes being mounted and unmounted: the kernel flags the mount table as a priority
// event (POLLPRI) on every change, which a QSocketNotifier of type Exception hears in the
// event loop. On each such event the volumes are read again through source and compared with
// the last reading.
class VolumeWatcher : public QObject {
    Q_OBJECT
public:
    using VolumeSource = std::function<std::vector<Volume>()>;

    explicit VolumeWatcher(VolumeSource source, QObject* parent = nullptr,
                           const std::string& mountTable = "/proc/self/mounts");
    ~VolumeWatcher() override;
    VolumeWatcher(const VolumeWatcher&) = delete;
    VolumeWatcher& operator=(const VolumeWatcher&) = delete;

    // False when the mount table could not be opened; Check still works when called.
    bool IsWatching() const { return notifier_ != nullptr; }
    const std::vector<Volume>& Volumes() const { return volumes_; }

    // Reads the volumes again; emits VolumesChanged when any was mounted, unmounted or
    // replaced since the last reading.
    void Check();

signals:
    // changedMountPoints: the mount points of the volumes that came, went or changed, sorted.
    void VolumesChanged(const std::vector<tralvo::Volume>& volumes,
                        const std::vector<std::string>& changedMountPoints);

private:
    VolumeSource source_;
    UniqueFd table_;
    std::unique_ptr<QSocketNotifier> notifier_; // after table_: let go of it before it closes
    std::vector<Volume> volumes_;
};

// The mount points of volumes that are in one list and not in the other (same mount point,
// type and source count as the same volume), sorted and without repeats.
std::vector<std::string> ChangedMountPoints(const std::vector<Volume>& before,
                                            const std::vector<Volume>& after);

} // namespace tralvo
