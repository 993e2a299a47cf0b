#pragma once

#include <string_view>

class QString;

class QWidget;

namespace tralvo {

class LanguageCatalogue;

// Fills a window's texts from the catalogue: the window's caption, then every named control
// in creation order, each by its kind (push button, one-line edit, label, picture and
// tool-bar button, radio button and check box, progress bar). A widget whose "tag" property
// is -1 keeps the text the program gives it, as does one the catalogue has no text for.
// Then every control gets its accessible name and description in the same language, so that
// assistive technology can find and name it (see SetNamedBy).
void ApplyLanguage(QWidget& window, std::string_view windowClass,
                   const LanguageCatalogue& catalogue);
void ApplyLanguage(QWidget& window, std::string_view windowClass);

// The control's accessible name is the caption of the label named labelName (a list, tree,
// bar or edit has no caption of its own); without one, its hint.
void SetNamedBy(QWidget& control, const char* labelName);
// The control's accessible name is the catalogue text of a string key.
void SetNamedByString(QWidget& control, const char* stringKey);

// A caption without its "&" marks ("&&" stands for one "&").
QString WithoutMnemonics(const QString& caption);

// The "tag" of a widget: 0 unless the program set one.
int TagOf(const QWidget& widget);
void SetTag(QWidget& widget, int tag);

} // namespace tralvo
