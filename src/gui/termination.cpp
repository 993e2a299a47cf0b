#include "gui/termination.h"

#include <QCoreApplication>

namespace tralvo {

namespace {
bool requested = false;
}

void RequestTermination() {
    requested = true;
    QCoreApplication::quit(); // ends a loop that runs now; later loops check the flag
}

bool TerminationRequested() {
    return requested;
}

void ResetTermination() {
    requested = false;
}

} // namespace tralvo
