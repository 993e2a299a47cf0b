#include "gui/widgets/design_layout.h"

#include <QBoxLayout>
#include <QWidget>
#include <cmath>

namespace tralvo {

int DesignScale::X(int x) const {
    return qRound(x * across);
}

int DesignScale::Y(int y) const {
    return qRound(y * down);
}

int DesignScale::Width(int width) const {
    return static_cast<int>(std::ceil(width * across - 1e-6));
}

int DesignScale::Height(int height) const {
    return static_cast<int>(std::ceil(height * down - 1e-6));
}

QHash<const QWidget*, QRect> DesignRects(const QWidget& widget) {
    QHash<const QWidget*, QRect> rects;
    for (const QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        rects.insert(child, child->geometry());
    }
    return rects;
}

QBoxLayout* DesignColumn(const std::vector<std::vector<QWidget*>>& rows, int left, int top,
                         const QHash<const QWidget*, QRect>& design, const DesignScale& scale) {
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    int bottom = scale.Y(top);
    for (const std::vector<QWidget*>& widgets : rows) {
        QRect rowRect;
        for (const QWidget* widget : widgets) {
            rowRect |= design.value(widget);
        }
        column->addSpacing(scale.Y(rowRect.top()) - bottom);
        bottom = scale.Y(rowRect.top()) + scale.Height(rowRect.height());

        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        int right = scale.X(left);
        for (QWidget* widget : widgets) {
            const QRect rect = design.value(widget);
            row->addSpacing(scale.X(rect.left()) - right);
            row->addWidget(widget, 0, Qt::AlignLeft | Qt::AlignVCenter);
            right = scale.X(rect.left()) + widget->width();
        }
        row->addStretch();
        column->addLayout(row);
    }
    column->addStretch();
    return column;
}

} // namespace tralvo
