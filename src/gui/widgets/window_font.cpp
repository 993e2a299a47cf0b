#include "gui/widgets/window_font.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace tralvo {

QFont WindowFont() {
    static const QFont font = [] {
        // Asking for the one family is much cheaper at start than listing every family.
        const QFont tahoma(QStringLiteral("Tahoma"), 8);
        if (QFontInfo(tahoma).family() == QStringLiteral("Tahoma")) {
            return tahoma;
        }
        QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        general.setPointSize(8);
        return general;
    }();
    return font;
}

} // namespace tralvo
