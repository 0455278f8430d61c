#include "appicon.h"

#include <QIconEngine>
#include <QPixmap>

#include <map>
#include <optional>

namespace lexitka {
namespace {

QString iconFile(int size) { return QStringLiteral(":/icons/%1.png").arg(size); }

// Qt reads every file added to an icon at once, the largest too; the window
// icon is drawn only where a window system shows it. So the files are read
// when a pixmap is first asked for, and a size the icon has reads its one file.
class ProgramIconEngine final : public QIconEngine {
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = bestSide(size);
        if (mode == QIcon::Normal && state == QIcon::Off && size == QSize(side, side)) {
            auto it = m_files.find(side);
            if (it == m_files.end())
                it = m_files.emplace(side, QPixmap(iconFile(side))).first;
            return it->second;
        }
        return decoded().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return scale == 1.0 ? pixmap(size, mode, state) : decoded().pixmap(size, scale, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        decoded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    // As Qt's icon of the files has it: the smallest that covers the size,
    // or else the largest, shrunk to fit.
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = bestSide(size);
        QSize actual(side, side);
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (int side : applicationIconSizes())
                sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QIconEngine *clone() const override { return new ProgramIconEngine; }
    QString key() const override { return QStringLiteral("lexitka"); }
    bool isNull() override { return false; }

private:
    static int bestSide(const QSize &size)
    {
        const qint64 area = qint64(size.width()) * size.height();
        for (int side : applicationIconSizes()) {
            if (qint64(side) * side >= area)
                return side;
        }
        return applicationIconSizes().last();
    }

    const QIcon &decoded()
    {
        if (!m_decoded) {
            m_decoded.emplace();
            for (int side : applicationIconSizes())
                m_decoded->addFile(iconFile(side), QSize(side, side));
        }
        return *m_decoded;
    }

    std::map<int, QPixmap> m_files;
    std::optional<QIcon> m_decoded;
};

} // namespace

const QList<int> &applicationIconSizes()
{
    static const QList<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QIcon applicationIcon() { return QIcon(new ProgramIconEngine); }

} // namespace lexitka
