#include "lessonmodel.h"

#include "data/dictionary.h"
#include "data/displaytext.h"

#include <QPainter>

namespace lexitka {

LessonModel::LessonModel(QObject *parent) : QAbstractTableModel(parent) { }

void LessonModel::setLines(LineStore lines, int languageCode)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_language = languageCode;
    m_cachedRow = -1;
    endResetModel();
}

void LessonModel::linesInserted(LineStore now, int first, int count)
{
    beginInsertRows({}, first, first + count - 1);
    m_lines = std::move(now);
    m_cachedRow = -1;
    endInsertRows();
}

void LessonModel::linesRemoved(LineStore now, int first, int count)
{
    beginRemoveRows({}, first, first + count - 1);
    m_lines = std::move(now);
    m_cachedRow = -1;
    endRemoveRows();
}

void LessonModel::linesChanged(LineStore now, int first, int last)
{
    m_lines = std::move(now);
    m_cachedRow = -1;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void LessonModel::linesReordered(LineStore now)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_lines = std::move(now);
    m_cachedRow = -1;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int LessonModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_lines.size()); }

int LessonModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 4; }

const WordFields &LessonModel::fieldsOf(int row) const
{
    if (row != m_cachedRow) {
        m_cached = wordFields(m_lines[row], m_language);
        m_cachedRow = row;
    }
    return m_cached;
}

QColor LessonModel::rowColour(const QString &cell)
{
    if (cell == u"der" || cell == u"le" || cell == u"el")
        return QColor(0, 0, 128);
    if (cell == u"die" || cell == u"la")
        return QColor(128, 0, 0);
    if (cell == u"das" || cell == u"les" || cell == u"los" || cell == u"las")
        return QColor(0, 128, 0);
    return QColor(0, 0, 0);
}

CodePage LessonModel::columnCodePage(int column) const
{
    return column == 1 ? languageInfo(m_language).foreignCodePage : CodePage::Cp1250;
}

QVariant LessonModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const WordFields &w = fieldsOf(index.row());
        switch (column) {
        case 0: return articleCell(m_language, w.Clen);
        case 1: return displayText(w.Slovo, columnCodePage(1));
        case 2: return displayText(w.Mn, CodePage::Cp1250);
        case 3: return displayText(w.Preklad, CodePage::Cp1250);
        default: return {};
        }
    }
    case Qt::ForegroundRole: return rowColour(articleCell(m_language, fieldsOf(index.row()).Clen));
    case Qt::EditRole: {
        // The whole text, not the shown part: an edit keeps what it does not see.
        const WordFields &w = fieldsOf(index.row());
        switch (column) {
        case 0: return articleCell(m_language, w.Clen);
        case 1: return decode(w.Slovo.toByteArray(), columnCodePage(1));
        case 2: return decode(w.Mn.toByteArray(), CodePage::Cp1250);
        case 3: return decode(w.Preklad.toByteArray(), CodePage::Cp1250);
        default: return {};
        }
    }
    case CodePageRole: return int(columnCodePage(column));
    default: return {};
    }
}

Qt::ItemFlags LessonModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const bool editable = index.column() == 1 || index.column() == 3
                          || (index.column() == 0 && !articles(m_language).isEmpty())
                          || (index.column() == 2 && m_language == LangGerman);
    return editable ? f | Qt::ItemIsEditable : f;
}

bool LessonModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_lines.size())
        return false;
    emit cellEdited(index.row(), index.column(), value.toString());
    return true;
}

QVariant LessonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0: return QStringLiteral("Člen");
    case 1: return QStringLiteral("Slovo");
    case 2: return QStringLiteral("Množné číslo (minulý čas)");
    case 3: return QStringLiteral("Překlad");
    default: return {};
    }
}

QColor LessonDelegate::textColour(const QModelIndex &index, bool selected)
{
    return selected ? QColor(255, 255, 255) : index.data(Qt::ForegroundRole).value<QColor>();
}

void LessonDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(textColour(index, selected));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

} // namespace lexitka
