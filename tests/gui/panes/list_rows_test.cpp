#include "gui/panes/list_rows.h"

#include <QFontMetrics>
#include <QStyleOptionViewItem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(ListRows, TextsLoseTheExtensionAndTrackRowsAreNumberedToTheCountsWidth) {
    EXPECT_EQ(RowText("Song.MP3", 0, 1, false), "Song");
    EXPECT_EQ(RowText("Readme", 0, 1, false), "Readme");
    EXPECT_EQ(RowText("a.b.ogg", 0, 1, false), "a.b");
    EXPECT_EQ(RowText("Song.mp3", 8, 9, true), "9. Song");
    EXPECT_EQ(RowText("Song.mp3", 0, 10, true), "01. Song");
    EXPECT_EQ(RowText("Song.mp3", 119, 120, true), "120. Song");
    EXPECT_EQ(RowText("Song.mp3", 4, 120, true), "005. Song");
}

TEST(ListRows, RowsAreAsHighAsTheIconOrTheTextPlusFour) {
    QStyleOptionViewItem option;
    option.font = QFont(QStringLiteral("DejaVu Sans"), 8);
    option.fontMetrics = QFontMetrics(option.font);
    const int text = option.fontMetrics.boundingRect(QStringLiteral(" ")).height();
    EXPECT_EQ(ListRowDelegate(false, true).sizeHint(option, {}).height(), std::max(text, 24) + 4);
    EXPECT_EQ(ListRowDelegate(true, false).sizeHint(option, {}).height(), std::max(text, 16) + 4);
}

} // namespace
} // namespace tralvo
