#pragma once

#include <QIconEngine>
#include <QString>

namespace tralvo {

// Draws one of the program's pictures: from the pixels rendered at build time when the size
// asked for is one of them (the usual 1x and 2x screens), else from its SVG at exactly that
// size, so it stays sharp at any scale. Nothing is read or drawn before the first paint.
class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(QString name); // as under data/icons, "toolbar/refresh.svg"

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    // The sizes rendered at build time, which draw at no cost (a window icon's sizes).
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString iconName() override; // the picture's name, so QIcon::name() gives it
    QString key() const override;

private:
    QString name_;
    QString cacheKey_; // of its pixmaps in QPixmapCache, without size and mode
};

} // namespace tralvo
