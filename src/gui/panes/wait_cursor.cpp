#include "gui/panes/wait_cursor.h"

#include <QApplication>

namespace tralvo {

namespace {
bool onScreen = false;
} // namespace

WaitCursor::WaitCursor() : shown_(onScreen) {
    if (shown_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

WaitCursor::~WaitCursor() {
    if (shown_) {
        QApplication::restoreOverrideCursor();
    }
}

void WaitCursor::ProgramOnScreen() {
    onScreen = true;
}

} // namespace tralvo
