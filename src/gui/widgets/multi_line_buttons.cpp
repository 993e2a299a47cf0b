#include "gui/widgets/multi_line_buttons.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

namespace tralvo {

namespace {

// What tells the two kinds apart when the style draws them.
struct IndicatorKind {
    QStyle::PixelMetric width;
    QStyle::PixelMetric height;
    QStyle::PixelMetric spacing;
    QStyle::PrimitiveElement element;
    QStyle::ContentsType contents;
};

constexpr IndicatorKind CheckBoxKind{QStyle::PM_IndicatorWidth, QStyle::PM_IndicatorHeight,
                                     QStyle::PM_CheckBoxLabelSpacing, QStyle::PE_IndicatorCheckBox,
                                     QStyle::CT_CheckBox};
constexpr IndicatorKind RadioButtonKind{
    QStyle::PM_ExclusiveIndicatorWidth, QStyle::PM_ExclusiveIndicatorHeight,
    QStyle::PM_RadioButtonLabelSpacing, QStyle::PE_IndicatorRadioButton, QStyle::CT_RadioButton};

// Far more than any caption needs; boundingRect wants a finite area to wrap in.
constexpr int UnboundedHeight = 1 << 16;

int TextFlags(const QAbstractButton& button, const QStyleOptionButton& option) {
    const bool underline =
        button.style()->styleHint(QStyle::SH_UnderlineShortcut, &option, &button);
    return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap |
           (underline ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
}

int TextLeft(const QAbstractButton& button, const QStyleOptionButton& option,
             const IndicatorKind& kind) {
    const QStyle* style = button.style();
    return style->pixelMetric(kind.width, &option, &button) +
           style->pixelMetric(kind.spacing, &option, &button);
}

// The caption's size when wrapped at width, or unwrapped for a negative width.
QSize CaptionSize(const QAbstractButton& button, const QStyleOptionButton& option, int width) {
    const QFontMetrics& metrics = option.fontMetrics;
    if (option.text.isEmpty()) {
        return {0, metrics.height()};
    }
    if (width < 0) {
        return metrics.size(Qt::TextShowMnemonic, option.text);
    }
    return metrics
        .boundingRect(QRect(0, 0, std::max(width, 1), UnboundedHeight), TextFlags(button, option),
                      option.text)
        .size();
}

QSize ButtonSize(const QAbstractButton& button, const QStyleOptionButton& option,
                 const IndicatorKind& kind, int width) {
    const int textWidth = width < 0 ? -1 : width - TextLeft(button, option, kind);
    const QSize caption = CaptionSize(button, option, textWidth);
    return button.style()->sizeFromContents(kind.contents, &option, caption, &button);
}

void PaintButton(QAbstractButton& button, const QStyleOptionButton& option,
                 const IndicatorKind& kind) {
    QStylePainter painter(&button);
    const QStyle* style = button.style();
    const QRect area = button.rect();
    const int lineHeight = option.fontMetrics.height();
    const int textLeft = TextLeft(button, option, kind);
    const int flags = TextFlags(button, option);
    const QSize caption = CaptionSize(button, option, area.width() - textLeft);

    // The caption sits in the middle of the control's height, as one line does beside its
    // indicator; the indicator lines up with the caption's first line.
    int textTop = (area.height() - caption.height()) / 2;
    const int indicatorWidth = style->pixelMetric(kind.width, &option, &button);
    const int indicatorHeight = style->pixelMetric(kind.height, &option, &button);
    int indicatorTop = textTop + (lineHeight - indicatorHeight) / 2;
    const int shift = std::max(0, -std::min(textTop, indicatorTop));
    textTop += shift;
    indicatorTop += shift;

    QStyleOptionButton indicator = option;
    indicator.rect = QRect(0, indicatorTop, indicatorWidth, indicatorHeight);
    painter.drawPrimitive(kind.element, indicator);

    const QRect textRect(textLeft, textTop, std::max(area.width() - textLeft, 0),
                         area.height() - textTop);
    style->drawItemText(&painter, textRect, flags, option.palette,
                        option.state.testFlag(QStyle::State_Enabled), option.text,
                        QPalette::WindowText);

    if (option.state.testFlag(QStyle::State_HasFocus) && !option.text.isEmpty()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(&button);
        focus.rect = QRect(textLeft, textTop, caption.width(), caption.height())
                         .adjusted(-3, -2, 3, 2) // as the styles frame a one-line caption
                         .intersected(area);
        focus.backgroundColor = option.palette.color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace

QSize MultiLineCheckBox::sizeHint() const {
    ensurePolished();
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonSize(*this, option, CheckBoxKind, -1);
}

int MultiLineCheckBox::heightForWidth(int width) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonSize(*this, option, CheckBoxKind, width).height();
}

void MultiLineCheckBox::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintButton(*this, option, CheckBoxKind);
}

bool MultiLineCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

QSize MultiLineRadioButton::sizeHint() const {
    ensurePolished();
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonSize(*this, option, RadioButtonKind, -1);
}

int MultiLineRadioButton::heightForWidth(int width) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonSize(*this, option, RadioButtonKind, width).height();
}

void MultiLineRadioButton::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintButton(*this, option, RadioButtonKind);
}

bool MultiLineRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

} // namespace tralvo
