#include "lessonnames.h"

#include "data/displaytext.h"
#include "editor/lessonbook.h"

namespace lexitka {

LessonNamesModel::LessonNamesModel(const LessonBook &book, QObject *parent)
    : QAbstractListModel(parent), m_book(book), m_rows(int(book.count()))
{
}

void LessonNamesModel::reload()
{
    beginResetModel();
    m_rows = int(m_book.count());
    endResetModel();
}

void LessonNamesModel::lessonInserted(int at)
{
    beginInsertRows({}, at, at);
    m_rows = int(m_book.count());
    endInsertRows();
}

void LessonNamesModel::lessonRemoved(int at)
{
    beginRemoveRows({}, at, at);
    m_rows = int(m_book.count());
    endRemoveRows();
}

int LessonNamesModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

QVariant LessonNamesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return displayText(m_book.name(index.row()), CodePage::Cp1250);
}

} // namespace lexitka
