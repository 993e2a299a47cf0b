#include "gui/widgets/anchored_panel.h"

#include <QResizeEvent>

namespace tralvo {

AnchoredPanel::AnchoredPanel(QSize designSize, QWidget* parent)
    : QWidget(parent), designSize_(designSize) {
    resize(designSize);
}

void AnchoredPanel::Place(QWidget* child, QRect design, int anchors) {
    child->setParent(this);
    placed_.push_back({child, design, designSize_, anchors});
    child->setGeometry(Current(placed_.back()));
}

void AnchoredPanel::Move(QWidget* child, QRect rect) {
    for (Placed& placed : placed_) {
        if (placed.child == child) {
            placed.rect = rect;
            placed.reference = size();
            child->setGeometry(rect);
        }
    }
}

QRect AnchoredPanel::DesignRect(const QWidget* child) const {
    for (const Placed& placed : placed_) {
        if (placed.child == child) {
            return Current(placed);
        }
    }
    return {};
}

QRect AnchoredPanel::Current(const Placed& placed) const {
    const int dx = width() - placed.reference.width();
    const int dy = height() - placed.reference.height();
    QRect rect = placed.rect;
    if ((placed.anchors & Right) != 0) {
        if ((placed.anchors & Left) != 0) {
            rect.setWidth(rect.width() + dx);
        } else {
            rect.moveLeft(rect.left() + dx);
        }
    }
    if ((placed.anchors & Bottom) != 0) {
        if ((placed.anchors & Top) != 0) {
            rect.setHeight(rect.height() + dy);
        } else {
            rect.moveTop(rect.top() + dy);
        }
    }
    return rect;
}

void AnchoredPanel::resizeEvent(QResizeEvent* event) {
    for (const Placed& placed : placed_) {
        placed.child->setGeometry(Current(placed));
    }
    QWidget::resizeEvent(event);
}

} // namespace tralvo
