#include "gui/widgets/one_line_label.h"

#include <QPainter>
#include <QStyle>

namespace tralvo {

namespace {

constexpr int LineFlags = Qt::TextSingleLine;

} // namespace

OneLineLabel::OneLineLabel(QWidget* parent, Qt::TextElideMode elide)
    : QLabel(parent), elide_(elide) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void OneLineLabel::SetText(const QString& text) {
    setText(text);
    UpdateToolTip();
}

int OneLineLabel::TextWidth() const {
    return fontMetrics().size(LineFlags, text()).width();
}

QString OneLineLabel::Shown() const {
    return fontMetrics().elidedText(text(), elide_, contentsRect().width(), LineFlags);
}

// Drawn without mnemonic handling, so an ampersand in a tag shows as it is.
void OneLineLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()) | LineFlags,
                          palette(), isEnabled(), Shown(), foregroundRole());
}

void OneLineLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    UpdateToolTip();
}

void OneLineLabel::UpdateToolTip() {
    // Escaped, so that a tag that looks like markup shows as written.
    setToolTip(TextWidth() > contentsRect().width()
                   ? QStringLiteral("<qt>") + text().toHtmlEscaped() + QStringLiteral("</qt>")
                   : QString());
}

} // namespace tralvo
