#pragma once

#include <QListView>
#include <QPersistentModelIndex>

#include <algorithm>

namespace lexitka {

// The lesson list: Qt's list view in top-to-bottom columns that wrap, every
// row in a cell of the grid, scrolled a column at a time. Qt's own list lays
// out a pass over every row before it paints; here a row's place is
// arithmetic, so a million lessons show as fast as ten. Everything the user
// sees and does (places, painting, keys, mouse, scrolling) is Qt's list's.
class LessonListView final : public QListView {
    Q_OBJECT
public:
    explicit LessonListView(QWidget *parent = nullptr);

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void doItemsLayout() override;

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;

private:
    // The columns as the list would lay them out now.
    struct Columns {
        int rows = 0; // of the model
        int perColumn = 1;
        int count = 0;  // of columns
        int width = 1;  // the grid's
        int step = 1;   // grid height: from one row to the next
        int height = 1; // of the contents
        int itemHeight = 0;
        int column(int row) const { return row / perColumn; }
        int inColumn(int column) const { return std::min(perColumn, rows - column * perColumn); }
        // Where a row's cell starts, in contents coordinates.
        QPoint cell(int row) const { return {column(row) * width, (row % perColumn) * step}; }
    };
    Columns columns() const;
    // Rows whose cells meet area (contents coordinates), in row order, as
    // Qt's list finds them.
    QList<int> rowsIn(const QRect &area) const;
    QRect itemRect(int row) const; // contents coordinates
    QModelIndex closest(const QRect &target, const QList<int> &rows, int current) const;
    // The horizontal scroll value that shows a row's column.
    int scrollValueFor(const QRect &rect, int row, ScrollHint hint) const;

    int m_itemHeight = 0; // of the first row, as the delegate sizes it
    QPersistentModelIndex m_hover;
};

} // namespace lexitka
