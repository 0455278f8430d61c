#include "statisticstable.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QtMath>

namespace lexitka {

namespace {

// The view frames the focused row whole; its cells do not frame themselves.
//
// A cell of one line of text that fits is drawn as the style draws it, but
// with its text laid out once: the style lays it out three times (for its
// size, for eliding, for drawing), and that was most of the table's first
// paint. Anything else is left to the style.
class RowCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget *widget = opt.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        if (!paintPlainText(painter, opt, style))
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }

private:
    static bool paintPlainText(QPainter *painter, const QStyleOptionViewItem &opt, const QStyle *style)
    {
        if (opt.features != QStyleOptionViewItem::HasDisplay || opt.direction != Qt::LeftToRight
            || opt.decorationPosition != QStyleOptionViewItem::Left || (opt.state & QStyle::State_Editing)
            || opt.text.isEmpty() || opt.text.contains(QChar::LineFeed) || opt.text.contains(QChar::LineSeparator)
            || opt.text.contains(QChar::CarriageReturn))
            return false;
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
        QTextLayout layout(opt.text, opt.font);
        QTextOption textOption;
        textOption.setWrapMode(QTextOption::ManualWrap);
        textOption.setTextDirection(opt.direction);
        textOption.setAlignment(QStyle::visualAlignment(opt.direction, opt.displayAlignment));
        layout.setTextOption(textOption);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(opt.rect.width());
        line.setPosition(QPointF(0, 0));
        const qreal width = line.naturalTextWidth();
        const qreal height = line.height();
        // The text's own box, placed in the cell as the style places it.
        const QSize textSize(qCeil(width) + 2 * margin, qCeil(height));
        if (textSize.width() > opt.rect.width() || layout.createLine().isValid()) {
            layout.endLayout();
            return false; // it would be elided
        }
        const QRect box = opt.showDecorationSelected
                              ? opt.rect
                              : QStyle::alignedRect(opt.direction, opt.displayAlignment,
                                                    textSize.boundedTo(opt.rect.size()), opt.rect);
        const QRect textRect = box.adjusted(margin, 0, -margin, 0);
        line.setLineWidth(textRect.width());
        layout.endLayout();
        const QRect lines =
            QStyle::alignedRect(opt.direction, opt.displayAlignment, QSize(textRect.width(), int(height)), textRect);

        painter->save();
        painter->setClipRect(opt.rect);
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
        QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
            group = QPalette::Inactive;
        painter->setPen(
            opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        layout.draw(painter, QPointF(textRect.x(), lines.top()));
        painter->restore();
        return true;
    }
};

} // namespace

StatisticsTable::StatisticsTable(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new RowCellDelegate(this));
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerItem);

    QHeaderView *columns = horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setSectionsMovable(true);
    columns->setFirstSectionMovable(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setStretchLastSection(false);

    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    fitRowHeight();
}

// A row as high as its text needs, as a list of one-line items has it.
void StatisticsTable::fitRowHeight()
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("0");
    const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    verticalHeader()->setDefaultSectionSize(size.height());
}

void StatisticsTable::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

void StatisticsTable::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid())
        return;
    const int y = rowViewportPosition(current.row());
    const int height = rowHeight(current.row());
    if (y + height < 0 || y > viewport()->height())
        return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_KeyboardFocusChange;
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor =
        palette().color(group, selectionModel()->isSelected(current) ? QPalette::Highlight : QPalette::Window);
    const QHeaderView *columns = horizontalHeader();
    const QRect row(-columns->offset(), y, columns->length(), height);
    focus.rect = style()->visualRect(layoutDirection(), viewport()->rect(), row);
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

// Left and right have no columns to walk: the row is the item.
QModelIndex StatisticsTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    switch (action) {
    case MoveLeft:
    case MoveRight: return current;
    case MoveHome:
    case MoveEnd: {
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        if (rows == 0)
            return current;
        return model()->index(action == MoveHome ? 0 : rows - 1, current.isValid() ? current.column() : 0, rootIndex());
    }
    default: return QTableView::moveCursor(action, modifiers);
    }
}

} // namespace lexitka
