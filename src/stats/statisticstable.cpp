#include "statisticstable.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace lexitka {

namespace {

// The view frames the focused row whole; its cells do not frame themselves.
class RowCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
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
