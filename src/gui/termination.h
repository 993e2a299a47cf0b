#pragma once

namespace tralvo {

// A request to end the program, as a fatal start-up message makes it. From then on no user
// interaction is possible: modal boxes and dialogs end at once as cancelled, and the main
// loop ends at its first turn. The module end steps still run.
void RequestTermination();
bool TerminationRequested();
// For tests, which build one window after another in one process.
void ResetTermination();

} // namespace tralvo
