#pragma once

#include <QTableView>

namespace lexitka {

// The list of records: a table that looks and behaves as a one-level tree
// list in report style (no row headers, no grid, left-aligned column
// captions, a row the item that the keys walk).
class StatisticsTable final : public QTableView {
public:
    explicit StatisticsTable(QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void fitRowHeight();
};

} // namespace lexitka
