#include "gui/widgets/dialog_fit.h"

#include <QPushButton>
#include <algorithm>

namespace tralvo {

namespace {

constexpr QSize DesignButton(75, 25);
constexpr int ButtonPadding = 16; // caption width + this is a button that fits

} // namespace

int CaptionWidth(const QWidget& widget, const QString& text) {
    return widget.fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

int FittingButtonWidth(const QPushButton& button) {
    return CaptionWidth(button, button.text()) + ButtonPadding;
}

QSize FittedButtonSize(const QPushButton& button) {
    return {std::max(DesignButton.width(), FittingButtonWidth(button)),
            std::max(DesignButton.height(), button.sizeHint().height())};
}

void EndWithButton(QWidget& dialog, QPushButton& button, QSize size, int right, int top,
                   int margin) {
    button.setGeometry(right - size.width(), top, size.width(), size.height());
    dialog.setFixedSize(right + margin, button.geometry().bottom() + 1 + margin);
}

} // namespace tralvo
