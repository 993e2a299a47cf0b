#pragma once

namespace tralvo {

// The wait cursor over the program's windows while a blocking step runs, from construction to
// destruction. Not while the program starts, before its main window is first painted: none of
// it is on screen, the desktop's launch feedback stands for it, and the first wait cursor
// loads the cursor theme, which costs the start some milliseconds.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // The main window has been painted: the wait cursor shows from now on.
    static void ProgramOnScreen();

private:
    bool shown_;
};

} // namespace tralvo
