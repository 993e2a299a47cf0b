#include "gui/widgets/design_layout.h"

#include <QBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace tralvo {
namespace {

TEST(DesignScale, RoundsPlacesAndRoundsLengthsUp) {
    const DesignScale scale{1.25, 1.1};
    EXPECT_EQ(scale.X(40), 50);
    EXPECT_EQ(scale.X(9), 11);     // 11.25
    EXPECT_EQ(scale.Y(13), 14);    // 14.3
    EXPECT_EQ(scale.Width(9), 12); // 11.25, never a pixel short
    EXPECT_EQ(scale.Height(13), 15);
    // An exact product is not rounded up by the error of the multiplication.
    EXPECT_EQ(DesignScale({1.1, 1.1}).Width(10), 11);
}

// A dialog of three controls in one column and a label beside the last one.
struct Column : testing::Test {
    std::unique_ptr<QWidget> dialog = std::make_unique<QWidget>();
    QWidget* first = Placed({40, 8, 100, 13});
    QWidget* second = Placed({56, 24, 100, 17});
    QWidget* label = Placed({40, 52, 30, 13});
    QWidget* list = Placed({80, 48, 60, 21});

    QWidget* Placed(const QRect& design) {
        auto* widget = new QWidget(dialog.get());
        widget->setGeometry(design);
        return widget;
    }

    void LayOut(const DesignScale& scale) {
        const QHash<const QWidget*, QRect> design = DesignRects(*dialog);
        for (QWidget* widget : {first, second, label, list}) {
            const QRect rect = design.value(widget);
            widget->setFixedSize(scale.Width(rect.width()), scale.Height(rect.height()));
        }
        second->setFixedHeight(second->height() + grow);
        auto* root = new QVBoxLayout(dialog.get());
        root->setContentsMargins(0, 0, 0, 0);
        root->addLayout(DesignColumn({{first}, {second}, {label, list}}, 0, 0, design, scale));
        dialog->resize(400, 400);
        root->activate();
    }

    int grow = 0;
};

TEST_F(Column, PlacesEveryControlAtItsScaledDesignRectangle) {
    const DesignScale scale{1.25, 1.5};
    LayOut(scale);
    EXPECT_EQ(first->geometry(), QRect(50, 12, 125, 20));
    EXPECT_EQ(second->geometry(), QRect(70, 36, 125, 26));
    EXPECT_EQ(list->geometry(), QRect(100, 72, 75, 32));
    // The label sits level with the list's text.
    EXPECT_EQ(label->geometry(), QRect(50, 72 + (32 - 20) / 2, 38, 20));
}

TEST_F(Column, ARowThatGrewPushesTheRowsBelowItDownByAsMuch) {
    grow = 17;
    LayOut({});
    EXPECT_EQ(first->geometry(), QRect(40, 8, 100, 13));
    EXPECT_EQ(second->geometry(), QRect(56, 24, 100, 34));
    EXPECT_EQ(list->geometry(), QRect(80, 48 + 17, 60, 21));
}

} // namespace
} // namespace tralvo
