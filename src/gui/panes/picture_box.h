#pragma once

#include <QIcon>
#include <QWidget>

namespace tralvo {

// A picture drawn from an icon at the widget's size and the screen's pixel ratio, so it stays
// sharp on a scaled screen (a label's pixmap is made once, at one ratio).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QIcon icon, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon icon_;
};

} // namespace tralvo
