#pragma once

#include <QRect>
#include <QWidget>
#include <vector>

namespace tralvo {

// A panel that places its children as a form designer does: each at a design rectangle, and
// kept at its distance from the edges it is anchored to when the panel changes size (anchored
// left and right it stretches; anchored right only it moves).
class AnchoredPanel : public QWidget {
    Q_OBJECT
public:
    enum Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    // designSize: the panel's size the design rectangles refer to.
    AnchoredPanel(QSize designSize, QWidget* parent = nullptr);

    void Place(QWidget* child, QRect design, int anchors = Left | Top);
    // Changes a child's design rectangle, as code of the window does at creation; the
    // distances to the anchored edges follow from it and the panel's current size.
    void Move(QWidget* child, QRect rect);
    QRect DesignRect(const QWidget* child) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placed {
        QWidget* child;
        QRect rect; // at reference
        QSize reference;
        int anchors;
    };
    QRect Current(const Placed& placed) const;

    QSize designSize_;
    std::vector<Placed> placed_;
};

} // namespace tralvo
