#include "gui/panes/picture_box.h"

#include <QPainter>

namespace tralvo {

PictureBox::PictureBox(QIcon icon, QWidget* parent) : QWidget(parent), icon_(std::move(icon)) {}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    icon_.paint(&painter, rect());
}

} // namespace tralvo
