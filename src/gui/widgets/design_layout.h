#pragma once

#include <QHash>
#include <QRect>
#include <initializer_list>
#include <vector>

class QBoxLayout;
class QWidget;

namespace tralvo {

// A dialog drawn as a design of pixel rectangles (at 96 dpi in the design's font), scaled by
// one factor across and one down so that the texts in force fit: the columns and their
// proportions stay as designed.
struct DesignScale {
    double across = 1.0;
    double down = 1.0;

    int X(int x) const;
    int Y(int y) const;
    // Lengths round up, so that a control scaled to fit its text is never a pixel short of it.
    int Width(int width) const;
    int Height(int height) const;
};

// The design rectangles of widget's direct children, as they were placed.
QHash<const QWidget*, QRect> DesignRects(const QWidget& widget);

// A column of rows, top to bottom, each row one or more widgets side by side (a label
// centred beside its list), placed at their scaled design distances from left and from each
// other. The widgets keep the sizes they were given, so a row that grew pushes the rows below
// it down by as much.
QBoxLayout* DesignColumn(const std::vector<std::vector<QWidget*>>& rows, int left, int top,
                         const QHash<const QWidget*, QRect>& design, const DesignScale& scale);

} // namespace tralvo
