#include "gui/widgets/press_later.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

// As with a screen reader running: each change of a control makes its accessible interface,
// which is kept from then on.
class PressLater : public ::testing::Test {
protected:
    void SetUp() override { QAccessible::setActive(true); }
    void TearDown() override { QAccessible::setActive(false); }

    // A tool button as the panes make theirs, named and captioned once it is made.
    QToolButton* Make(bool pressedLater) {
        QToolButton* button =
            pressedLater ? NewToolButtonPressedLater(&window_) : new QToolButton(&window_);
        button->setObjectName(QStringLiteral("PlaylistBtn"));
        button->setText(QStringLiteral("PlaylistBtn"));
        button->setToolTip(QStringLiteral("Arrange by a playlist"));
        QObject::connect(button, &QToolButton::clicked, [this] { ++clicks_; });
        return button;
    }
    static QAccessibleActionInterface* Actions(QToolButton* button) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        return accessible != nullptr ? accessible->actionInterface() : nullptr;
    }

    QWidget window_;
    int clicks_ = 0;
};

TEST_F(PressLater, TheCallerHasItsAnswerBeforeTheClickRuns) {
    QAccessibleActionInterface* actions = Actions(Make(true));
    ASSERT_NE(actions, nullptr);
    ASSERT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    // A click that opened a modal box would only now keep the caller waiting.
    EXPECT_EQ(clicks_, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 1);
}

TEST_F(PressLater, ADisabledButtonIsNotPressed) {
    QToolButton* button = Make(true);
    button->setEnabled(false);
    QAccessibleActionInterface* actions = Actions(button);
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks_, 0);
}

TEST_F(PressLater, IsAButtonNamedByItsNameOrElseItsHint) {
    QToolButton* button = Make(true);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Arrange by a playlist"));
    button->setAccessibleName(QStringLiteral("Playlist"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Playlist"));
}

// Qt's own tool buttons (the file dialog's view switches among them) keep Qt's interface.
TEST_F(PressLater, LeavesOtherToolButtonsToQt) {
    Make(true);
    QToolButton* other = Make(false);
    other->setCheckable(true);
    QAccessibleActionInterface* actions = Actions(other);
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
}

} // namespace
} // namespace tralvo
