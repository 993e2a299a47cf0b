#pragma once

#include <QString>

namespace tralvo {

// The catalogue and the tests find a control by its object name: every control is named as
// it is created.
template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace tralvo
