#include "lessonview.h"

#include <QHoverEvent>
#include <QPainter>
#include <QScrollBar>

namespace lexitka {

LessonListView::LessonListView(QWidget *parent) : QListView(parent)
{
    setFlow(TopToBottom);
    setWrapping(true);
    setUniformItemSizes(true);
    setHorizontalScrollMode(ScrollPerItem);
}

LessonListView::Columns LessonListView::columns() const
{
    Columns c;
    const QAbstractItemModel *m = model();
    c.rows = m && m->columnCount(rootIndex()) > 0 ? m->rowCount(rootIndex()) : 0;
    c.width = std::max(1, gridSize().width());
    c.step = std::max(1, gridSize().height());
    // The columns leave room for a horizontal scroll bar, shown or not, so
    // that showing it moves no row.
    int height = maximumViewportSize().height();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded) {
        int frame = 0;
        if (style()->styleHint(QStyle::SH_ScrollView_FrameOnlyAroundContents, nullptr, this)) {
            QStyleOption option;
            option.initFrom(this);
            frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option);
        }
        height -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, horizontalScrollBar()) + frame;
    }
    c.height = height - 1;
    // A row goes below the one before while it ends on the last line or
    // above it; the first row of a column always stays.
    c.perColumn = std::max(1, (height - 1) / c.step);
    c.count = int((qint64(c.rows) + c.perColumn - 1) / c.perColumn);
    c.itemHeight = m_itemHeight;
    return c;
}

QList<int> LessonListView::rowsIn(const QRect &area) const
{
    QList<int> rows;
    const Columns c = columns();
    if (c.rows == 0)
        return rows;
    int column = area.left() < 0 ? 0 : std::min(area.left() / c.width, c.count);
    for (; column < c.count && qint64(column) * c.width <= area.right(); ++column) {
        const int first = column * c.perColumn;
        const int n = c.inColumn(column);
        if (qint64(n) * c.step < area.top())
            continue;
        int i = area.top() < 0 ? 0 : std::min(area.top() / c.step, n - 1);
        for (; i < n && i * c.step <= area.bottom(); ++i)
            rows.append(first + i);
    }
    return rows;
}

QRect LessonListView::itemRect(int row) const
{
    const Columns c = columns();
    return QRect(c.cell(row), QSize(c.width, c.itemHeight));
}

void LessonListView::doItemsLayout()
{
    m_itemHeight = 0;
    if (model() && model()->columnCount(rootIndex()) > 0 && model()->rowCount(rootIndex()) > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex first = model()->index(0, modelColumn(), rootIndex());
        if (QAbstractItemDelegate *delegate = itemDelegateForIndex(first))
            m_itemHeight = delegate->sizeHint(option, first).height();
    }
    QAbstractItemView::doItemsLayout();
}

QRect LessonListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex()
        || index.column() != modelColumn())
        return {};
    const_cast<LessonListView *>(this)->executeDelayedItemsLayout();
    if (index.row() >= columns().rows)
        return {};
    return itemRect(index.row()).translated(-horizontalOffset(), -verticalOffset());
}

QModelIndex LessonListView::indexAt(const QPoint &point) const
{
    const QList<int> rows = rowsIn(QRect(point.x() + horizontalOffset(), point.y() + verticalOffset(), 1, 1));
    if (rows.isEmpty())
        return {};
    const QModelIndex index = model()->index(rows.last(), modelColumn(), rootIndex());
    return visualRect(index).contains(point) ? index : QModelIndex();
}

int LessonListView::horizontalOffset() const
{
    const int value = horizontalScrollBar()->value();
    if (horizontalScrollMode() != ScrollPerItem)
        return value;
    const Columns c = columns();
    return std::clamp(value, 0, c.count) * c.width;
}

int LessonListView::verticalOffset() const { return verticalScrollBar()->value(); }

void LessonListView::scrollContentsBy(int dx, int dy)
{
    if (horizontalScrollMode() == ScrollPerItem)
        dx *= columns().width;
    QAbstractItemView::scrollContentsBy(dx, dy);
}

void LessonListView::resizeEvent(QResizeEvent *event) { QAbstractItemView::resizeEvent(event); }

void LessonListView::updateGeometries()
{
    const Columns c = columns();
    QScrollBar *horizontal = horizontalScrollBar();
    QScrollBar *vertical = verticalScrollBar();
    if (geometry().isEmpty() || c.rows <= 0) {
        horizontal->setRange(0, 0);
        vertical->setRange(0, 0);
    } else {
        // A column at a time; a page is the columns the viewport shows whole.
        const int width = viewport()->width();
        const int page = qint64(c.count) * c.width <= width ? c.count + 1 : width / c.width;
        horizontal->setSingleStep(1);
        horizontal->setPageStep(page);
        horizontal->setRange(0, c.count - page);
        vertical->setPageStep(viewport()->height());
        vertical->setRange(0, c.height - viewport()->height());
    }
    QAbstractItemView::updateGeometries();
}

int LessonListView::scrollValueFor(const QRect &rect, int row, ScrollHint hint) const
{
    const Columns c = columns();
    const QRect area = viewport()->rect();
    const int column = c.column(row);
    if (rect.left() < area.left())
        return column;
    if (rect.right() > area.right() && rect.left() > area.left())
        return column - std::max(1, area.width() / c.width) + 1;
    return hint == PositionAtTop ? column : horizontalScrollBar()->value();
}

void LessonListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (index.parent() != rootIndex() || index.column() != modelColumn())
        return;
    const QRect rect = visualRect(index);
    if (!rect.isValid())
        return;
    if (hint == EnsureVisible && viewport()->rect().contains(rect)) {
        viewport()->update(rect);
        return;
    }
    if (horizontalScrollMode() == ScrollPerItem)
        horizontalScrollBar()->setValue(scrollValueFor(rect, index.row(), hint));
}

QModelIndex LessonListView::closest(const QRect &target, const QList<int> &rows, int current) const
{
    int best = -1;
    int shortest = 0;
    const QPoint centre = target.center();
    for (const int row : rows) {
        if (row == current || !(model()->index(row, modelColumn(), rootIndex()).flags() & Qt::ItemIsEnabled))
            continue;
        const QRect rect = itemRect(row);
        const QPoint c = rect.center();
        int distance = 0;
        if ((centre.x() >= rect.x() && centre.x() < rect.right()) || (c.x() >= target.x() && c.x() < target.right()))
            distance = std::abs(c.y() - centre.y());
        else if ((centre.y() >= rect.y() && centre.y() < rect.bottom())
                 || (c.y() >= target.y() && c.y() < target.bottom()))
            distance = std::abs(c.x() - centre.x());
        else
            distance = (c - centre).manhattanLength();
        if (best < 0 || distance < shortest) {
            best = row;
            shortest = distance;
        }
    }
    return best < 0 ? QModelIndex() : model()->index(best, modelColumn(), rootIndex());
}

QModelIndex LessonListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    executeDelayedItemsLayout();
    const Columns c = columns();
    auto at = [this](int row) { return model()->index(row, modelColumn(), rootIndex()); };
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return c.rows > 0 ? at(0) : QModelIndex();
    const int row = current.row();
    const int first = c.column(row) * c.perColumn;
    const int last = first + c.inColumn(c.column(row)) - 1;
    // A page is the rows the viewport shows, less one.
    const int page = std::max(viewport()->geometry().height() / c.step - 1, 1);
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious: return at(std::max(row - 1, 0));
    case MoveDown:
    case MoveNext: return at(std::min(row + 1, c.rows - 1));
    case MovePageUp: return at(std::max(row - page, first));
    case MovePageDown: return at(std::min(row + page, last));
    case MoveHome: return at(0);
    case MoveEnd: return at(c.rows - 1);
    case MoveLeft:
    case MoveRight: {
        // The nearest row of the next column that has one beside it.
        const QRect initial = itemRect(row);
        QRect rect(c.cell(row), QSize(c.width, c.step));
        const int contentsWidth = c.count * c.width;
        for (;;) {
            if (cursorAction == MoveLeft) {
                rect.translate(-rect.width(), 0);
                if (rect.right() <= 0)
                    return current;
                if (rect.left() < 0)
                    rect.setLeft(0);
            } else {
                rect.translate(rect.width(), 0);
                if (rect.left() >= contentsWidth)
                    return current;
                if (rect.right() > contentsWidth)
                    rect.setRight(contentsWidth);
            }
            const QModelIndex found = closest(initial, rowsIn(rect), row);
            if (found.isValid())
                return found;
        }
    }
    }
    return current;
}

void LessonListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel())
        return;
    executeDelayedItemsLayout();
    auto at = [this](int row) { return model()->index(row, modelColumn(), rootIndex()); };
    auto enabled = [&at](int row) { return bool(at(row).flags() & Qt::ItemIsEnabled); };
    const QPoint offset(horizontalOffset(), verticalOffset());
    auto lastAt = [this, offset](const QPoint &point) {
        const QList<int> rows = rowsIn(QRect(point + offset, QSize(1, 1)));
        return rows.isEmpty() ? -1 : rows.last();
    };
    QItemSelection selection;
    if (rect.width() == 1 && rect.height() == 1) {
        const int row = lastAt(rect.topLeft());
        if (row >= 0 && enabled(row))
            selection.select(at(row), at(row));
    } else if (state() == DragSelectingState) {
        const QList<int> rows = rowsIn(rect.translated(offset));
        for (qsizetype i = 0; i < rows.size();) {
            qsizetype j = i;
            while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
                ++j;
            selection.select(at(rows[i]), at(rows[j]));
            i = j + 1;
        }
    } else {
        // Keys and clicks: every row from one corner's to the other's.
        const int a = lastAt(rect.topLeft());
        const int b = lastAt(rect.bottomRight());
        if (a >= 0 && b >= 0 && enabled(a) && enabled(b))
            selection.select(at(std::min(a, b)), at(std::max(a, b)));
    }
    selectionModel()->select(selection, command);
}

QRegion LessonListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const Columns c = columns();
    const QPoint offset(horizontalOffset(), verticalOffset());
    const int firstShown = offset.x() / c.width;
    const int lastShown = (offset.x() + viewport()->width()) / c.width;
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid() || range.parent() != rootIndex() || modelColumn() < range.left()
            || modelColumn() > range.right())
            continue;
        const int top = range.top();
        const int bottom = std::min(range.bottom(), c.rows - 1);
        if (top > bottom)
            continue;
        // Only the columns on screen: a range may hold a million rows.
        const int to = std::min(c.column(bottom), lastShown);
        for (int column = std::max(c.column(top), firstShown); column <= to; ++column) {
            const int from = std::max(top, column * c.perColumn);
            const int till = std::min(bottom, column * c.perColumn + c.inColumn(column) - 1);
            if (from <= till)
                region += itemRect(from).united(itemRect(till)).translated(-offset);
        }
    }
    return region;
}

bool LessonListView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: m_hover = indexAt(static_cast<QHoverEvent *>(event)->position().toPoint()); break;
    case QEvent::HoverLeave:
    case QEvent::Leave: m_hover = QPersistentModelIndex(); break;
    default: break;
    }
    return QListView::viewportEvent(event);
}

void LessonListView::paintEvent(QPaintEvent *event)
{
    if (!itemDelegate())
        return;
    executeDelayedItemsLayout();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const QList<int> rows = rowsIn(event->rect().translated(horizontalOffset(), verticalOffset()));
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const bool enabled = state & QStyle::State_Enabled;
    const Columns c = columns();
    const int widest = std::max(viewport()->width(), c.count * c.width) - 2 * spacing();
    for (const int row : rows) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        option.rect = visualRect(index);
        option.rect.setWidth(std::min(widest, option.rect.width()));
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool itemEnabled = index.flags() & Qt::ItemIsEnabled;
            option.state.setFlag(QStyle::State_Enabled, itemEnabled);
            option.palette.setCurrentColorGroup(itemEnabled ? QPalette::Normal : QPalette::Disabled);
        }
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
            if (this->state() == EditingState)
                option.state |= QStyle::State_Editing;
        }
        option.state.setFlag(QStyle::State_MouseOver, index == m_hover);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

} // namespace lexitka
