#include "gui/widgets/press_later.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QToolButton>

namespace tralvo {

namespace {

constexpr const char* PressLaterProperty = "pressLater";

class PressedLater : public QAccessibleWidget {
public:
    explicit PressedLater(QToolButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& name) override {
        if (name == pressAction() && widget()->isEnabled()) {
            QMetaObject::invokeMethod(static_cast<QToolButton*>(widget()), &QToolButton::click,
                                      Qt::QueuedConnection);
        }
    }

    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

    // An icon-only button without a name of its own is named by its hint, as Qt names it.
    QString text(QAccessible::Text kind) const override {
        QString shown = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && shown.isEmpty()) {
            shown = widget()->toolTip();
        }
        return shown;
    }
};

QAccessibleInterface* PressLaterAccessible(const QString& /*className*/, QObject* object) {
    auto* button = qobject_cast<QToolButton*>(object);
    if (button != nullptr && button->property(PressLaterProperty).toBool()) {
        return new PressedLater(button);
    }
    return nullptr;
}

} // namespace

QToolButton* NewToolButtonPressedLater(QWidget* parent) {
    static const bool installed = [] {
        QAccessible::installFactory(PressLaterAccessible);
        return true;
    }();
    static_cast<void>(installed);
    auto* button = new QToolButton(parent);
    button->setProperty(PressLaterProperty, true);
    return button;
}

} // namespace tralvo
