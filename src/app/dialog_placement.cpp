#include "app/dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tralvo {

void CentreOnOwner(QWidget& dialog) {
    QRect area;
    if (const QWidget* owner = dialog.parentWidget()) {
        area = owner->window()->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) {
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
}

} // namespace tralvo
