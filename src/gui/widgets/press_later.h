#pragma once

class QToolButton;
class QWidget;

namespace tralvo {

// Assistive technology presses a button through its accessible Press action and waits for the
// answer. Qt clicks a tool button there and then, so a button that opens a modal box or dialog
// keeps a screen reader waiting, unable to read that box, until it closes or the call times
// out. A tool button made here is pressed after the answer went out, as push buttons are.
// It is marked as it is made: its first change of name or text makes its accessible
// interface, which is kept from then on.
QToolButton* NewToolButtonPressedLater(QWidget* parent);

} // namespace tralvo
