#pragma once

class QString;
class QWidget;

namespace tralvo {

// Names a dialog and gives it the frame of the program's dialogs: a border with only the
// close box (no help button, no resizing), the window font and its title.
void SetUpFixedDialog(QWidget& dialog, const char* name, const QString& title);

// Puts a dialog in the middle of its owner window, or of the screen when it has none.
void CentreOnOwner(QWidget& dialog);

} // namespace tralvo
