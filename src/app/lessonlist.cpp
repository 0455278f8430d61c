#include "lessonlist.h"

#include "data/displaytext.h"

namespace lexitka {

void LessonListModel::setNames(QList<QByteArray> names)
{
    beginResetModel();
    m_names = std::move(names);
    m_ticks = QList<bool>(m_names.size(), false);
    endResetModel();
}

void LessonListModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= m_ticks.size() || m_ticks[row] == ticked)
        return;
    m_ticks[row] = ticked;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void LessonListModel::setAllTicked(bool ticked)
{
    if (m_ticks.isEmpty())
        return;
    m_ticks.fill(ticked);
    emit dataChanged(index(0), index(int(m_ticks.size()) - 1), {Qt::CheckStateRole});
}

int LessonListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant LessonListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(m_names[index.row()], CodePage::Cp1250);
    case Qt::CheckStateRole:
        return m_ticks[index.row()] ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool LessonListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags LessonListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace lexitka
