#include "panes/icons.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tralvo {
namespace {

struct NamedIcon {
    std::string name;
    QIcon icon;
    int size;
};

std::vector<NamedIcon> AllIcons() {
    std::vector<NamedIcon> icons;
    for (int i = 0; i < ToolbarIconCount; ++i) {
        icons.push_back({"toolbar " + std::to_string(i), ToolbarIcon(i), 24});
    }
    for (int kind = 0; kind < 4; ++kind) {
        icons.push_back({"kind " + std::to_string(kind) + " large", FileKindIcon(kind, true), 24});
        icons.push_back({"kind " + std::to_string(kind) + " small", FileKindIcon(kind, false), 16});
    }
    icons.push_back({"play", PlayerIcon(PlayerGlyph::Play), 16});
    icons.push_back({"pause", PlayerIcon(PlayerGlyph::Pause), 16});
    icons.push_back({"stop", PlayerIcon(PlayerGlyph::Stop), 16});
    icons.push_back({"computer header", ComputerHeaderIcon(), 32});
    icons.push_back({"player header", PlayerHeaderIcon(), 32});
    icons.push_back({"settings header", SettingsHeaderIcon(), 24});
    icons.push_back({"application", ApplicationIcon(), 32});
    return icons;
}

QImage Render(const QIcon& icon, int size, qreal ratio) {
    return icon.pixmap(QSize(size, size), ratio).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) >= 128) {
                ++count;
            }
        }
    }
    return count;
}

TEST(Icons, EveryPictureDrawsVisiblyAtItsSizeAndAtDoubleScale) {
    for (const auto& [name, icon, size] : AllIcons()) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(icon.isNull());
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = Render(icon, size, ratio);
            const int side = static_cast<int>(size * ratio);
            ASSERT_EQ(image.size(), QSize(side, side)) << "ratio " << ratio;
            // A tenth of the area at least: a picture that failed to load is empty, and a
            // stray clip or wrong view box leaves only a sliver.
            EXPECT_GE(OpaquePixels(image), side * side / 10) << "ratio " << ratio;
        }
    }
}

TEST(Icons, PicturesOfOneFamilyDifferFromEachOther) {
    std::vector<QImage> toolbar;
    for (int i = 0; i < ToolbarIconCount; ++i) {
        toolbar.push_back(Render(ToolbarIcon(i), 24, 1.0));
    }
    for (std::size_t a = 0; a < toolbar.size(); ++a) {
        for (std::size_t b = a + 1; b < toolbar.size(); ++b) {
            EXPECT_NE(toolbar[a], toolbar[b]) << "toolbar " << a << " and " << b;
        }
    }
    for (const bool large : {true, false}) {
        const int size = large ? 24 : 16;
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                EXPECT_NE(Render(FileKindIcon(a, large), size, 1.0),
                          Render(FileKindIcon(b, large), size, 1.0))
                    << "kinds " << a << " and " << b << " at " << size;
            }
        }
    }
}

TEST(Icons, IndexesOutsideTheFamiliesGiveNoPicture) {
    EXPECT_TRUE(ToolbarIcon(-1).isNull());
    EXPECT_TRUE(ToolbarIcon(ToolbarIconCount).isNull());
    EXPECT_TRUE(FileKindIcon(4, true).isNull());
    EXPECT_TRUE(FileKindIcon(-1, false).isNull());
}

} // namespace
} // namespace tralvo
