#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace tralvo {

// One running program per user. The first start listens on a local socket; a second start
// finds it there, asks it to come forward, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // path: the socket, by default one per user (in XDG_RUNTIME_DIR where there is one).
    explicit SingleInstance(QString path = DefaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the one running instance (or the test cannot be made
    // here, and it runs anyway); false when another instance runs and has been asked to show
    // its window.
    bool Claim();

    static QString DefaultName();

signals:
    // A later start asked this instance to bring its window forward.
    void ShowRequested();

private:
    struct Client;
    bool AskRunningInstance();
    void Listen();
    void Accept();

    QString path_;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tralvo
