#include "gui/panes/list_rows.h"

#include "gui/panes/icons.h"
#include "media/sound_file.h"
#include "platform/list_numbers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace tralvo {

QString RowText(const QString& name, int row, int count, bool numbered) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString bare = dot < 0 ? name : name.left(dot);
    if (!numbered) {
        return bare;
    }
    const std::string number =
        ZeroPad(static_cast<std::size_t>(row) + 1, ListDigits(static_cast<std::size_t>(count)));
    return QString::fromLatin1(number.c_str()) + QStringLiteral(". ") + bare;
}

ListRowDelegate::ListRowDelegate(bool numbered, bool largeIcons, QObject* parent)
    : QStyledItemDelegate(parent), numbered_(numbered), largeIcons_(largeIcons) {}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& /*index*/) const {
    const int textHeight = option.fontMetrics.boundingRect(QStringLiteral(" ")).height();
    return {option.rect.width() > 0 ? option.rect.width() : 100,
            std::max(textHeight, IconSize()) + 4};
}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool focused = view != nullptr && view->hasFocus();
    const QPalette& palette = option.palette;
    QColor background = palette.color(QPalette::Base);
    QColor text = palette.color(QPalette::Text);
    if (selected && focused) {
        background = palette.color(QPalette::Highlight);
        text = palette.color(QPalette::HighlightedText);
    } else if (selected) {
        background = palette.color(QPalette::Button);
        text = palette.color(QPalette::WindowText);
    }
    const QRect row = option.rect;
    painter->save();
    painter->fillRect(row, background);

    const int size = IconSize();
    const int kind = index.data(SoundKindRole).toInt();
    if (kind >= media::KindMp3 && kind < media::KindUnknown) {
        FileKindIcon(kind, largeIcons_)
            .paint(painter, QRect(row.left() + 2, row.top() + 2, size, size));
    }

    const int count = index.model() != nullptr ? index.model()->rowCount() : 0;
    const QString shown =
        RowText(index.data(Qt::DisplayRole).toString(), index.row(), count, numbered_);
    const int textHeight = option.fontMetrics.boundingRect(QStringLiteral(" ")).height();
    const int rowHeight = row.height();
    const QRect textRect(row.left() + 2 + size + 5, row.top() + (rowHeight - textHeight) / 2,
                         row.right() - (row.left() + 2 + size + 5), textHeight);
    painter->setPen(text);
    painter->setFont(option.font);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(shown, Qt::ElideRight, textRect.width()));

    if ((option.state & QStyle::State_HasFocus) != 0 && focused) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = row;
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = background;
        const QStyle* style =
            option.widget != nullptr ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
}

} // namespace tralvo
