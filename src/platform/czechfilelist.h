#pragma once

#include <QIdentityProxyModel>

class QDateTime;

namespace lexitka {

// The file dialog's list in Czech whatever the system's locale: Qt writes
// sizes and dates by the system's locale and names a folder "Folder".
class CzechFileList final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString size(qint64 bytes);
    static QString date(const QDateTime &when);
    // "Složka", "Soubor RTF", "Soubor".
    static QString type(bool folder, const QString &suffix);
};

} // namespace lexitka
