#include "gui/panes/picture_icon_engine.h"

#include "gui/panes/prerendered_pictures.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <cstring>

namespace tralvo {

namespace {

QImage Prerendered(const QByteArray& name, QSize size) {
    for (std::size_t i = 0; i < PrerenderedPictureCount; ++i) {
        const PrerenderedPicture& picture = PrerenderedPictures[i];
        if (picture.width == size.width() && picture.height == size.height() &&
            name == picture.name) {
            // Wraps the pixels without copying them; QPixmap::fromImage copies.
            return QImage(reinterpret_cast<const uchar*>(picture.pixels), picture.width,
                          picture.height, QImage::Format_ARGB32_Premultiplied);
        }
    }
    return {};
}

QImage FromSvg(const QString& name, QSize size) {
    QSvgRenderer renderer(QStringLiteral(":/icons/") + name);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (renderer.isValid()) {
        // Centred, keeping the picture's proportions.
        QSizeF drawn = renderer.defaultSize();
        drawn.scale(size, Qt::KeepAspectRatio);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF((size.width() - drawn.width()) / 2,
                                                 (size.height() - drawn.height()) / 2),
                                         drawn));
    }
    return image;
}

} // namespace

PictureIconEngine::PictureIconEngine(QString name)
    : name_(std::move(name)), cacheKey_(QStringLiteral("tralvo-picture:") + name_) {}

QPixmap PictureIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) {
    if (size.isEmpty()) {
        return {};
    }
    const QString cacheKey = cacheKey_ + QLatin1Char(':') + QString::number(size.width()) +
                             QLatin1Char('x') + QString::number(size.height()) + QLatin1Char(':') +
                             QString::number(static_cast<int>(mode));
    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap)) {
        return pixmap;
    }
    const QImage image = Prerendered(name_.toLatin1(), size);
    pixmap = QPixmap::fromImage(image.isNull() ? FromSvg(name_, size) : image);
    if (mode != QIcon::Normal && mode != QIcon::Active && qApp != nullptr) {
        QStyleOption option;
        option.palette = QApplication::palette();
        pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}

QPixmap PictureIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                        qreal scale) {
    // Size is in device pixels already.
    QPixmap scaled = pixmap(size, mode, state);
    scaled.setDevicePixelRatio(scale);
    return scaled;
}

void PictureIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                              QIcon::State state) {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
    // Drawn whole into the rectangle: its device pixels match the screen's, and the cached
    // pixmap is not copied to carry another pixel ratio.
    painter->drawPixmap(rect, pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state));
}

QSize PictureIconEngine::actualSize(const QSize& size, QIcon::Mode /*mode*/,
                                    QIcon::State /*state*/) {
    return size;
}

QList<QSize> PictureIconEngine::availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) {
    QList<QSize> sizes;
    const QByteArray name = name_.toLatin1();
    for (std::size_t i = 0; i < PrerenderedPictureCount; ++i) {
        if (name == PrerenderedPictures[i].name) {
            sizes.append(QSize(PrerenderedPictures[i].width, PrerenderedPictures[i].height));
        }
    }
    return sizes;
}

QIconEngine* PictureIconEngine::clone() const {
    return new PictureIconEngine(name_);
}

QString PictureIconEngine::iconName() {
    return name_;
}

QString PictureIconEngine::key() const {
    return QStringLiteral("tralvo-picture");
}

} // namespace tralvo
