#pragma once

#include <QSize>

class QPushButton;
class QString;
class QWidget;

namespace tralvo {

// The width text takes in widget's font, a mnemonic's "&" taking none.
int CaptionWidth(const QWidget& widget, const QString& text);

// The width of a push button that shows its whole caption.
int FittingButtonWidth(const QPushButton& button);

// The design's 75 x 25 pixels of a button, grown to its caption and to the height the font
// in force needs.
QSize FittedButtonSize(const QPushButton& button);

// Puts the button that closes a dialog with its right edge at right and its top at top, and
// fixes the dialog's size to end margin beyond both.
void EndWithButton(QWidget& dialog, QPushButton& button, QSize size, int right, int top,
                   int margin);

} // namespace tralvo
