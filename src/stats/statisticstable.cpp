#include "statisticstable.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyleOptionViewItem>

namespace lexitka {

StatisticsTable::StatisticsTable(QWidget *parent) : QTableView(parent)
{
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
