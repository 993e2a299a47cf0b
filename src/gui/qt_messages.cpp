#include "gui/qt_messages.h"

#include "gui/qt_text.h"
#include "gui/termination.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace tralvo {

namespace {

QWidget* WindowNamed(const std::string& name) {
    if (name.empty()) {
        return nullptr;
    }
    const QString wanted = QString::fromStdString(name);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == wanted) {
            return window;
        }
    }
    return nullptr;
}

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer Cancelled(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

} // namespace

MessageAnswer QtMessages::Show(const MessageRequest& request) {
    if (TerminationRequested()) {
        return Cancelled(request.buttons);
    }
    QWidget* parent = WindowNamed(request.parent);
    // A hidden owner would hide the box with it on some window systems.
    if (parent != nullptr && !parent->isVisible()) {
        parent = nullptr;
    }
    QMessageBox box(IconOf(request.icon), CatalogueText(request.caption),
                    CatalogueText(TextWithReason(request)), QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    const int answer = box.exec();
    if (TerminationRequested()) {
        return Cancelled(request.buttons);
    }
    switch (answer) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return Cancelled(request.buttons);
    }
}

} // namespace tralvo
