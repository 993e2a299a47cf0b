#pragma once

#include <QLabel>

namespace tralvo {

// A label of one line and a fixed width: its text is shown as written ("&" stays "&", no
// markup, line breaks as blanks) and shortened with "..." where it is too long, the whole
// text then showing as its tool tip. text() keeps the whole text.
class OneLineLabel : public QLabel {
public:
    explicit OneLineLabel(QWidget* parent = nullptr, Qt::TextElideMode elide = Qt::ElideRight);

    // Sets the text and the tool tip that the width calls for.
    void SetText(const QString& text);
    // The width the whole text needs.
    int TextWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString Shown() const;
    void UpdateToolTip();

    Qt::TextElideMode elide_;
};

} // namespace tralvo
