#pragma once

#include "platform/single_instance.h"

#include <QStringList>

namespace tralvo {

class Messages;

// The program from its start to its end: catalogue and settings, the one-instance test, the
// windows, the start-up checks, the event loop, and the settings written at every end.
// arguments: the command line, the program's name first; instanceName: the one-instance
// server (tests give their own).
int RunProgram(const QStringList& arguments, Messages& messages,
               const QString& instanceName = SingleInstance::DefaultName());

// "/ForceFirstRun" counts only as the first argument and only in exactly this form.
bool ForceFirstRunRequested(const QStringList& arguments);

} // namespace tralvo
