#include "platform/single_instance.h"

#include "platform/unique_fd.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tralvo {

namespace {

constexpr char ShowMessage[] = "show\n";
constexpr char Answer[] = "ok\n";
constexpr int TimeoutMs = 2000;

bool AddressOf(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

// Waits until fd is ready for events, or the time is up.
bool WaitFor(int fd, short events) {
    pollfd entry{fd, events, 0};
    int ready = 0;
    do {
        ready = poll(&entry, 1, TimeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

// One later start talking to this instance.
struct SingleInstance::Client {
    UniqueFd fd;
    std::string received;
};

SingleInstance::SingleInstance(QString path, QObject* parent)
    : QObject(parent), path_(std::move(path)) {}

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(QFile::encodeName(path_).constData());
    }
}

QString SingleInstance::DefaultName() {
    const QString file = QStringLiteral("tralvo-%1.socket").arg(getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) {
        return QDir(runtime).filePath(file);
    }
    return QDir(QDir::tempPath()).filePath(file);
}

bool SingleInstance::Claim() {
    if (AskRunningInstance()) {
        return false;
    }
    Listen();
    return true;
}

bool SingleInstance::AskRunningInstance() {
    sockaddr_un address{};
    if (!AddressOf(path_, address)) {
        return false;
    }
    // In a shared folder such as /tmp only a socket of this user is taken for ours.
    struct stat info {};
    if (lstat(address.sun_path, &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != getuid()) {
        return false;
    }
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid() ||
        ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return false; // nobody listens: left behind by a program that did not end cleanly
    }
    if (::send(fd.get(), ShowMessage, sizeof ShowMessage - 1, MSG_NOSIGNAL) < 0) {
        return false;
    }
    // The answer tells the request arrived before this process ends; a running instance that
    // is busy (a long run on the player) may answer late, and still counts as running.
    if (WaitFor(fd.get(), POLLIN)) {
        char answer[sizeof Answer] = {};
        (void)::recv(fd.get(), answer, sizeof answer - 1, 0);
    }
    return true;
}

void SingleInstance::Listen() {
    sockaddr_un address{};
    if (!AddressOf(path_, address)) {
        return;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) {
        return;
    }
    struct stat info {};
    if (lstat(address.sun_path, &info) == 0) {
        if (!S_ISSOCK(info.st_mode) || info.st_uid != getuid()) {
            return; // not ours to replace: the program runs without the test
        }
        ::unlink(address.sun_path);
    }
    const mode_t oldMask = ::umask(0077); // only this user may connect
    const int bound = ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::umask(oldMask);
    if (bound != 0 || ::listen(fd.get(), 8) != 0) {
        return;
    }
    listener_ = fd.Release();
    notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::Accept);
}

void SingleInstance::Accept() {
    for (;;) {
        const int accepted = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (accepted < 0) {
            return;
        }
        auto client = std::make_shared<Client>();
        client->fd = UniqueFd(accepted);
        auto* reader = new QSocketNotifier(accepted, QSocketNotifier::Read, this);
        connect(reader, &QSocketNotifier::activated, this, [this, client, reader] {
            char buffer[64];
            const ssize_t got = ::recv(client->fd.get(), buffer, sizeof buffer, 0);
            if (got > 0) {
                client->received.append(buffer, static_cast<std::size_t>(got));
                if (client->received.size() > 64) {
                    client->received.clear(); // not one of ours
                }
                if (client->received != ShowMessage) {
                    return;
                }
                (void)::send(client->fd.get(), Answer, sizeof Answer - 1, MSG_NOSIGNAL);
                emit ShowRequested();
            } else if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
                return;
            }
            reader->setEnabled(false);
            reader->deleteLater();
            client->fd = UniqueFd();
        });
    }
}

} // namespace tralvo
