#include "lessonnames.h"

#include "data/displaytext.h"
#include "editor/lessonbook.h"

namespace lexitka {

LessonNamesModel::LessonNamesModel(const LessonBook &book, QObject *parent)
    : QAbstractListModel(parent), m_book(book), m_rows(int(book.count()))
{ }

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

void LessonNamesModel::countChanged(int at)
{
    if (at >= 0 && at < m_rows)
        emit dataChanged(index(at), index(at), {CountRole});
}

void LessonNamesModel::setDueValues(QSet<QByteArray> values)
{
    m_due = std::move(values);
    if (m_rows > 0)
        emit dataChanged(index(0), index(m_rows - 1), {DueRole});
}

int LessonNamesModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

QVariant LessonNamesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    if (role == CountRole)
        return int(m_book.lines(index.row()).size());
    if (role == DueRole) {
        // Counted when shown: words edited since count as they now are.
        int due = 0;
        const LineStore &lines = m_book.lines(index.row());
        for (qsizetype i = 0; !m_due.isEmpty() && !m_book.isMistakes(index.row()) && i < lines.size(); ++i) {
            const QByteArrayView line = lines[i];
            due += m_due.contains(line.sliced(line.indexOf('=') + 1).trimmed().toByteArray()) ? 1 : 0;
        }
        return due;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return displayText(m_book.name(index.row()), CodePage::Cp1250);
}

void LessonCountDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = shownText(index);
}

QString LessonCountDelegate::shownText(const QModelIndex &index)
{
    const int due = index.data(LessonNamesModel::DueRole).toInt();
    return QStringLiteral("%1  (%2%3)")
        .arg(index.data(Qt::DisplayRole).toString())
        .arg(index.data(LessonNamesModel::CountRole).toInt())
        .arg(due > 0 ? QStringLiteral(", k opakování %1").arg(due) : QString());
}

} // namespace lexitka
