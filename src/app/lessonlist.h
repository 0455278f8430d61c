#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>
#include <QStyledItemDelegate>

#include "data/sectionnames.h"

namespace lexitka {

// The lessons of the open dictionary with their ticks, for the main window's
// list. A model rather than one widget item per lesson: a dictionary of a
// million lessons must open at once, and a name of megabytes must not be laid
// out whole at every paint.
class LessonListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Raw bytes of the names as the dictionary holds them; all unticked.
    void setNames(SectionNames names);
    const SectionNames &names() const { return m_names; }
    QList<bool> ticks() const { return m_ticks; }
    bool isTicked(int row) const { return m_ticks.value(row); }
    void setTicked(int row, bool ticked);
    void setAllTicked(bool ticked);

    // Without the general checks: laying out the list asks for every row.
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    SectionNames m_names;
    QList<bool> m_ticks;
};

// Shows a lesson name that its column cuts off in full, as a tooltip; a name
// that fits needs none.
class LessonListDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
    // The tooltip for an item, empty when its name is shown whole.
    QString toolTip(const QAbstractItemView *view, const QStyleOptionViewItem &option, const QModelIndex &index) const;
};

} // namespace lexitka
