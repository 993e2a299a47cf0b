#include "app/apply_language.h"

#include "app/component_text.h"
#include "app/language_catalogue.h"
#include "app/qt_text.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

namespace tralvo {

namespace {

constexpr const char* TagProperty = "tag";

ComponentKind KindOf(QWidget& widget) {
    if (qobject_cast<QPushButton*>(&widget) != nullptr) {
        return ComponentKind::PushButton;
    }
    if (qobject_cast<QLineEdit*>(&widget) != nullptr) {
        return ComponentKind::EditBox;
    }
    if (qobject_cast<QLabel*>(&widget) != nullptr) {
        return ComponentKind::Label;
    }
    if (qobject_cast<QToolButton*>(&widget) != nullptr) {
        return ComponentKind::ToolButton; // flat picture buttons are tool buttons too
    }
    if (qobject_cast<QRadioButton*>(&widget) != nullptr) {
        return ComponentKind::RadioButton;
    }
    if (qobject_cast<QCheckBox*>(&widget) != nullptr) {
        return ComponentKind::CheckBox;
    }
    if (qobject_cast<QProgressBar*>(&widget) != nullptr) {
        return ComponentKind::ProgressBar;
    }
    return ComponentKind::Other;
}

void SetText(QWidget& widget, const ComponentText& text) {
    const QString shown = CatalogueText(text.text);
    switch (text.property) {
    case ComponentProperty::Hint:
        widget.setToolTip(shown);
        return;
    case ComponentProperty::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
            edit->setText(shown);
        }
        return;
    case ComponentProperty::Caption:
        if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
            button->setText(shown);
        } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
            label->setText(shown);
        }
        return;
    }
}

// Children come in the order they were created, parents before their children.
void ApplyToChildren(QWidget& parent, std::string_view windowClass,
                     const LanguageCatalogue& catalogue) {
    for (QObject* child : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow()) {
            continue;
        }
        const QByteArray name = widget->objectName().toUtf8();
        if (!name.isEmpty()) {
            const std::optional<ComponentText> text =
                TextForComponent(catalogue, windowClass, std::string_view(name.constData()),
                                 KindOf(*widget), TagOf(*widget));
            if (text) {
                SetText(*widget, *text);
            }
        }
        ApplyToChildren(*widget, windowClass, catalogue);
    }
}

} // namespace

int TagOf(const QWidget& widget) {
    return widget.property(TagProperty).toInt();
}

void SetTag(QWidget& widget, int tag) {
    widget.setProperty(TagProperty, tag);
}

void ApplyLanguage(QWidget& window, std::string_view windowClass,
                   const LanguageCatalogue& catalogue) {
    if (const std::optional<std::string> caption =
            CaptionForWindow(catalogue, windowClass, TagOf(window))) {
        window.setWindowTitle(CatalogueText(*caption));
    }
    ApplyToChildren(window, windowClass, catalogue);
}

void ApplyLanguage(QWidget& window, std::string_view windowClass) {
    ApplyLanguage(window, windowClass, Catalogue());
}

} // namespace tralvo
