#pragma once

class QWidget;

namespace tralvo {

// Puts a dialog in the middle of its owner window, or of the screen when it has none.
void CentreOnOwner(QWidget& dialog);

} // namespace tralvo
