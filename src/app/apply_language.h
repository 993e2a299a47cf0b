#pragma once

#include <string_view>

class QWidget;

namespace tralvo {

class LanguageCatalogue;

// Fills a window's texts from the catalogue: the window's caption, then every named control
// in creation order, each by its kind (push button, one-line edit, label, picture and
// tool-bar button, radio button and check box, progress bar). A widget whose "tag" property
// is -1 keeps the text the program gives it, as does one the catalogue has no text for.
void ApplyLanguage(QWidget& window, std::string_view windowClass,
                   const LanguageCatalogue& catalogue);
void ApplyLanguage(QWidget& window, std::string_view windowClass);

// The "tag" of a widget: 0 unless the program set one.
int TagOf(const QWidget& widget);
void SetTag(QWidget& widget, int tag);

} // namespace tralvo
