#include "lessonlist.h"

#include "data/displaytext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace lexitka {

namespace {
// A tooltip shows a name in full, up to what a screen can hold.
constexpr qsizetype kToolTipChars = 2000;
} // namespace

void LessonListModel::setNames(SectionNames names)
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

QModelIndex LessonListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || row >= m_names.size() || column != 0 || parent.isValid())
        return {};
    return createIndex(row, 0);
}

int LessonListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_names.size()); }

QVariant LessonListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    switch (role) {
    case Qt::DisplayRole: return displayText(m_names[index.row()], CodePage::Cp1250);
    case Qt::CheckStateRole: return m_ticks[index.row()] ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole: return displayText(m_names[index.row()], CodePage::Cp1250, kToolTipChars);
    default: return {};
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

QString LessonListDelegate::toolTip(const QAbstractItemView *view, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = view;
    const QRect textRect = widget->style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QString shown = index.data(Qt::DisplayRole).toString();
    const QString whole = index.data(Qt::ToolTipRole).toString();
    if (shown == whole && opt.fontMetrics.horizontalAdvance(shown) <= textRect.width())
        return {};
    return whole;
}

bool LessonListDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = toolTip(view, option, index);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
    return true;
}

} // namespace lexitka
