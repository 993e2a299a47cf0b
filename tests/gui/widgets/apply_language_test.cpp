#include "gui/widgets/apply_language.h"
#include "i18n/catalogue_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, const char* text = "design") {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_same_v<Widget, QLabel> || std::is_base_of_v<QAbstractButton, Widget> ||
                  std::is_same_v<Widget, QLineEdit>) {
        widget->setText(QString::fromLatin1(text));
    }
    return widget;
}

TEST(ApplyLanguage, FillsEachKindByItsPropertyAndLeavesTheRestAlone) {
    test::CatalogueFile file("[Languages]\nCount=1\n"
                             "[Language0-Properties]\n"
                             "TForm.Caption=Window\n"
                             "TForm.Button.Caption=&Go\n"
                             "TForm.Edit.Text=Typed\n"
                             "TForm.Label.Caption=Two\\nlines\n"
                             "TForm.Tool.Hint=@TForm.Shared.Hint\n"
                             "TForm.Shared.Hint=Shared hint\n"
                             "TForm.Radio.Caption=Radio\n"
                             "TForm.Check.Caption=Check\n"
                             "TForm.Bar.Hint=Bar hint\n"
                             "TForm.Kept.Caption=Not this\n"
                             "TForm.Inner.Caption=Nested\n"
                             "TForm.Button.Hint=Buttons get captions, not hints\n");
    QWidget window;
    auto* button = Make<QPushButton>(&window, "Button");
    auto* edit = Make<QLineEdit>(&window, "Edit");
    auto* label = Make<QLabel>(&window, "Label");
    auto* tool = Make<QToolButton>(&window, "Tool");
    auto* radio = Make<QRadioButton>(&window, "Radio");
    auto* check = Make<QCheckBox>(&window, "Check");
    auto* bar = Make<QProgressBar>(&window, "Bar");
    auto* kept = Make<QLabel>(&window, "Kept");
    SetTag(*kept, -1);
    auto* missing = Make<QLabel>(&window, "Missing");
    auto* panel = Make<QWidget>(&window, "Panel");
    auto* inner = Make<QLabel>(panel, "Inner");

    ApplyLanguage(window, "TForm", file.catalogue);

    EXPECT_EQ(window.windowTitle(), "Window");
    EXPECT_EQ(button->text(), "&Go");
    EXPECT_EQ(button->toolTip(), "");
    EXPECT_EQ(edit->text(), "Typed");
    EXPECT_EQ(label->text(), "Two\nlines");
    EXPECT_EQ(tool->toolTip(), "Shared hint");
    EXPECT_EQ(radio->text(), "Radio");
    EXPECT_EQ(check->text(), "Check");
    EXPECT_EQ(bar->toolTip(), "Bar hint");
    EXPECT_EQ(kept->text(), "design");
    EXPECT_EQ(missing->text(), "design");
    EXPECT_EQ(inner->text(), "Nested");
}

TEST(ApplyLanguage, AWindowWithTagMinusOneKeepsItsCaption) {
    test::CatalogueFile file("[Languages]\nCount=1\n[Language0-Properties]\nTForm.Caption=No\n");
    QWidget window;
    window.setWindowTitle("Tralvo!");
    SetTag(window, -1);
    ApplyLanguage(window, "TForm", file.catalogue);
    EXPECT_EQ(window.windowTitle(), "Tralvo!");
}

TEST(ApplyLanguage, NamesEveryControlForAssistiveTechnologyInTheLanguageInForce) {
    test::CatalogueFile file("[Languages]\nCount=1\n"
                             "[Language0-Properties]\n"
                             "TForm.Tool.Hint=&Rock && Roll\n"
                             "TForm.Caption.Caption=&Music:\n"
                             "TForm.Button.Caption=&Go\n"
                             "TForm.Bar.Hint=Position\n");
    QWidget window;
    auto* tool = Make<QToolButton>(&window, "Tool");
    tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Make<QLabel>(&window, "Caption");
    auto* list = Make<QWidget>(&window, "List");
    SetNamedBy(*list, "Caption");
    auto* button = Make<QPushButton>(&window, "Button");
    auto* bar = Make<QProgressBar>(&window, "Bar");

    ApplyLanguage(window, "TForm", file.catalogue);

    EXPECT_EQ(tool->accessibleName(), "Rock & Roll"); // the hint, without its marks
    EXPECT_EQ(list->accessibleName(), "Music");       // the caption that names it
    EXPECT_EQ(button->accessibleName(), "Go");
    EXPECT_EQ(bar->accessibleName(), "Position");
    EXPECT_EQ(bar->accessibleDescription(), "");
}

} // namespace
} // namespace tralvo
