#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

namespace tralvo {

// Hands the events of one object to a handler of its own, which says whether it consumed
// them; owned by the object it watches.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QEvent&)>;

    EventHook(QObject* watched, Handler handler) : QObject(watched), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override { return handler_(*event); }

private:
    Handler handler_;
};

} // namespace tralvo
