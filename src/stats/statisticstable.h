#pragma once

#include <QTableView>

namespace lexitka {

// The list of records: a table that looks and behaves as a one-level tree
// list in report style (no row headers, no grid, left-aligned column
// captions, the focus framing the whole row), but lays out no item per row:
// only its hidden row header keeps eight bytes a row.
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
