#include "gui/widgets/dialog_placement.h"

#include "gui/widgets/window_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tralvo {

void SetUpFixedDialog(QWidget& dialog, const char* name, const QString& title) {
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    dialog.setFont(WindowFont());
    dialog.setWindowTitle(title);
}

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
