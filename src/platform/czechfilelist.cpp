#include "czechfilelist.h"

#include <QDateTime>
#include <QFileSystemModel>
#include <QLocale>

namespace lexitka {
namespace {

const QLocale &czech()
{
    static const QLocale locale(QLocale::Czech, QLocale::Czechia);
    return locale;
}

} // namespace

QString CzechFileList::size(qint64 bytes)
{
    return czech().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString CzechFileList::date(const QDateTime &when) { return czech().toString(when, QStringLiteral("d. M. yyyy H:mm")); }

QString CzechFileList::type(bool folder, const QString &suffix)
{
    if (folder)
        return QStringLiteral("Složka");
    return suffix.isEmpty() ? QStringLiteral("Soubor") : QStringLiteral("Soubor ") + suffix.toUpper();
}

QVariant CzechFileList::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files || !index.isValid() || index.column() == 0 || role != Qt::DisplayRole)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QFileInfo info = files->fileInfo(source);
    switch (index.column()) {
    case 1: return info.isDir() ? QString() : size(info.size());
    case 2: return type(info.isDir(), info.suffix());
    case 3: return date(info.lastModified());
    default: return QIdentityProxyModel::data(index, role);
    }
}

QVariant CzechFileList::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QString names[] = {QStringLiteral("Název"), QStringLiteral("Velikost"), QStringLiteral("Typ"),
                                    QStringLiteral("Datum změny")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
        return names[section];
    return QIdentityProxyModel::headerData(section, orientation, role);
}

} // namespace lexitka
