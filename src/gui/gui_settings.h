#pragma once

#include "settings/settings_store.h"

#include <QObject>

namespace tralvo {

// The settings the windows work with, handed to each of them at start. The settings dialog
// applies what the user confirmed here, and whoever depends on a setting follows the change
// signal instead of being told by the dialog's caller.
class GuiSettings : public QObject {
    Q_OBJECT
public:
    explicit GuiSettings(UserSettings& config, QObject* parent = nullptr)
        : QObject(parent), config_(config) {}

    const UserSettings& Get() const { return config_; }
    // What the program keeps for the next start without telling anyone (the window state).
    UserSettings& Kept() { return config_; }
    // The user's confirmed settings: stored, then told.
    void Apply(const UserSettings& edited) {
        const UserSettings before = config_;
        config_ = edited;
        emit Changed(before);
    }

signals:
    void Changed(const UserSettings& before);

private:
    UserSettings& config_;
};

} // namespace tralvo
