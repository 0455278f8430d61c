#pragma once

#include <QTableView>

namespace lexitka {

// The list of records: a table that looks and behaves as a one-level tree
// list in report style (no row headers, no grid, left-aligned column
// captions, the focus framing the whole row), but keeps nothing per row, so
// that a file of a hundred thousand records opens as fast as one of ten.
class StatisticsTable final : public QTableView {
public:
    explicit StatisticsTable(QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void fitRowHeight();
};

} // namespace lexitka
