// A dictionary file dropped on the main window opens as "Otevřít" opens it.
#include "fmain.h"

#include "data/dictionary.h"
#include "data/nativefile.h"
#include "data/nativepath.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

namespace lexitka {
namespace {

QString droppedDictionary(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    // The name's bytes from the URL's escapes, which toLocalFile() would read as UTF-8.
    const QString path =
        pathFromNative(QByteArray::fromPercentEncoding(data->urls().first().path(QUrl::FullyEncoded).toLatin1()));
    return languageForExtension(QFileInfo(path).suffix()) && isFile(path) ? path : QString();
}

} // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedDictionary(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent *event)
{
    const QString path = droppedDictionary(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opening may ask questions: not inside the drop.
    QTimer::singleShot(0, this, [this, path] { switchDictionary(absolutePath(path)); });
}

} // namespace lexitka
