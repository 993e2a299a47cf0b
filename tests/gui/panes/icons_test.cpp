#include "gui/panes/icons.h"
#include "gui/panes/prerendered_pictures.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
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
    for (const TreeGlyph glyph : {TreeGlyph::Computer, TreeGlyph::FixedDrive,
                                  TreeGlyph::RemovableDrive, TreeGlyph::Folder}) {
        icons.push_back({"tree " + std::to_string(static_cast<int>(glyph)), TreeIcon(glyph), 16});
    }
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

int LargestDifference(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (left.size() != right.size()) {
        return 256;
    }
    int largest = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            largest =
                std::max({largest, std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                          std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

// Each picture is drawn from the pixels rendered at build time, at its size and at twice
// that, visibly and as its SVG draws it: a picture edited without the build step running
// again, a wrong view box or a stray clip shows here; and no two share a picture.
TEST(Icons, EveryPictureDrawsFromItsBuildTimePixelsAsItsSvgDoes) {
    std::set<QString> names;
    for (const auto& [name, icon, size] : AllIcons()) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(names.insert(icon.name()).second) << "a picture shown twice";
        for (const int ratio : {1, 2}) {
            const int side = size * ratio;
            const auto* end = PrerenderedPictures + PrerenderedPictureCount;
            ASSERT_NE(std::find_if(PrerenderedPictures, end,
                                   [&](const PrerenderedPicture& picture) {
                                       return icon.name() == QLatin1String(picture.name) &&
                                              picture.width == side;
                                   }),
                      end)
                << "no pixels at ratio " << ratio;
            const QImage built = Render(icon, size, ratio);
            ASSERT_EQ(built.size(), QSize(side, side)) << "ratio " << ratio;
            EXPECT_GE(OpaquePixels(built), side * side / 10) << "ratio " << ratio;
            QImage drawn(side, side, QImage::Format_ARGB32_Premultiplied);
            drawn.fill(Qt::transparent);
            {
                QPainter painter(&drawn);
                QSvgRenderer(QStringLiteral(":/icons/") + icon.name()).render(&painter);
            }
            EXPECT_LE(LargestDifference(built, drawn), 2) << "ratio " << ratio;
        }
    }
}

// Scales without pixels of their own are drawn from the SVG at their exact size, so the
// pictures stay sharp on a screen scaled by 1.5; a disabled button's picture is greyed.
TEST(Icons, OtherScalesAndDisabledButtonsAreDrawnToo) {
    const QIcon icon = ToolbarIcon(0);
    const QImage oneAndAHalf = Render(icon, 24, 1.5);
    ASSERT_EQ(oneAndAHalf.size(), QSize(36, 36));
    EXPECT_GE(OpaquePixels(oneAndAHalf), 36 * 36 / 10);
    const QImage smooth =
        Render(icon, 24, 1.0).scaled(36, 36, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_NE(oneAndAHalf, smooth); // not an enlarged 1x picture

    const QImage disabled = icon.pixmap(QSize(24, 24), 1.0, QIcon::Disabled).toImage();
    ASSERT_EQ(disabled.size(), QSize(24, 24));
    const QImage normal = Render(icon, 24, 1.0);
    EXPECT_NE(disabled.convertToFormat(QImage::Format_ARGB32), normal);
    for (int y = 0; y < disabled.height(); ++y) {
        for (int x = 0; x < disabled.width(); ++x) {
            const QRgb pixel = disabled.pixel(x, y);
            EXPECT_LE(std::abs(qRed(pixel) - qBlue(pixel)), 12) << x << "," << y;
        }
    }
}

} // namespace
} // namespace tralvo
