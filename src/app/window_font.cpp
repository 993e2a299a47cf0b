#include "app/window_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace tralvo {

QFont WindowFont() {
    static const QFont font = [] {
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
            return QFont(QStringLiteral("Tahoma"), 8);
        }
        QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        general.setPointSize(8);
        return general;
    }();
    return font;
}

} // namespace tralvo
