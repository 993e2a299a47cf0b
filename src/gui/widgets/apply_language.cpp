#include "gui/widgets/apply_language.h"

#include "gui/qt_text.h"
#include "i18n/component_text.h"
#include "i18n/language_catalogue.h"

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
constexpr const char* NamedByProperty = "namedBy";
constexpr const char* NameKeyProperty = "accessibleNameKey";

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

QString NameOf(QWidget& widget, QWidget& window, const LanguageCatalogue& catalogue) {
    const QByteArray labelName = widget.property(NamedByProperty).toByteArray();
    if (!labelName.isEmpty()) {
        if (auto* label = window.findChild<QLabel*>(QString::fromLatin1(labelName))) {
            return WithoutMnemonics(label->text()).remove(QLatin1Char(':')).trimmed();
        }
    }
    const QByteArray key = widget.property(NameKeyProperty).toByteArray();
    if (!key.isEmpty()) {
        return CatalogueText(catalogue.String(key.toStdString()));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        const bool iconOnly =
            qobject_cast<QToolButton*>(&widget) != nullptr &&
            static_cast<QToolButton&>(widget).toolButtonStyle() == Qt::ToolButtonIconOnly;
        if (!iconOnly && !button->text().isEmpty()) {
            return WithoutMnemonics(button->text());
        }
    }
    return WithoutMnemonics(widget.toolTip());
}

// Every named control of the window, once its texts are in place.
void ApplyAccessibleNames(QWidget& window, const LanguageCatalogue& catalogue) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        // Qt's own parts (viewports, scroll bars) are named "qt_..."; labels name themselves.
        if (widget->objectName().isEmpty() ||
            widget->objectName().startsWith(QLatin1String("qt_")) || widget->isWindow() ||
            qobject_cast<QLabel*>(widget) != nullptr) {
            continue;
        }
        const QString name = NameOf(*widget, window, catalogue);
        if (!name.isEmpty()) {
            widget->setAccessibleName(name);
        }
        const QString hint = WithoutMnemonics(widget->toolTip());
        if (!hint.isEmpty() && hint != name) {
            widget->setAccessibleDescription(hint);
        }
    }
}

} // namespace

QString WithoutMnemonics(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i; // "&x" is x, "&&" is "&"
        }
        plain += caption[i];
    }
    return plain;
}

void SetNamedBy(QWidget& control, const char* labelName) {
    control.setProperty(NamedByProperty, QByteArray(labelName));
}

void SetNamedByString(QWidget& control, const char* stringKey) {
    control.setProperty(NameKeyProperty, QByteArray(stringKey));
}

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
    ApplyAccessibleNames(window, catalogue);
}

void ApplyLanguage(QWidget& window, std::string_view windowClass) {
    ApplyLanguage(window, windowClass, Catalogue());
}

} // namespace tralvo
