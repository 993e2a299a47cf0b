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
    explicit GuiSettings(TConfig& config, QObject* parent = nullptr)
        : QObject(parent), config_(config) {}

    const TConfig& Get() const { return config_; }
    // What the program keeps for the next start without telling anyone (the window state).
    TConfig& Kept() { return config_; }
    // The user's confirmed settings: stored, then told.
    void Apply(const TConfig& edited) {
        const TConfig before = config_;
        config_ = edited;
        emit Changed(before);
    }

signals:
    void Changed(const TConfig& before);

private:
    TConfig& config_;
};

} // namespace tralvo
