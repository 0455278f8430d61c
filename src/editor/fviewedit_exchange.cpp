// "Importovat slovíčka…" and the exports: word lists of other programs in
// and out of the book. An import is one undo step and, like every edit,
// reaches the file only when the browser is saved.
#include "fviewedit.h"

#include "data/displaytext.h"
#include "data/fileread.h"
#include "data/inifile.h"
#include "data/linestore.h"
#include "data/nativefile.h"
#include "data/nativepath.h"
#include "data/savefile.h"
#include "editor/fimport.h"
#include "exchange/kvtml.h"
#include "exchange/kvtmlwriter.h"
#include "exchange/wordexport.h"
#include "exchange/wordimport.h"
#include "platform/filedialogs.h"
#include "platform/messenger.h"
#include "platform/waitcursor.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QFileInfo>
#include <QSet>
#include <QUndoStack>

#include <memory>

namespace lexitka {
namespace {

const QStringList kExportFilters{QStringLiteral("Text oddělený tabulátory (*.tsv *.txt)"),
                                 QStringLiteral("KVTML – KWordQuiz, Parley (*.kvtml)")};

bool isKvtmlName(const QString &path) { return path.endsWith(QStringLiteral(".kvtml"), Qt::CaseInsensitive); }

constexpr int kListedRefusals = 15;

QString droppedWordList(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    static const QStringList suffixes{QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("tsv"),
                                      QStringLiteral("kvtml")};
    return suffixes.contains(QFileInfo(path).suffix().toLower()) ? path : QString();
}

} // namespace

void TfrmViewEdt::importWords()
{
    std::unique_ptr<QFileDialog> dlg(createFileDialog(this, "ImportDlg", QStringLiteral("Importovat slovíčka"),
                                                      QFileDialog::AcceptOpen, QStringLiteral("Otevřít")));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setNameFilters(
        {QStringLiteral("Seznamy slovíček (*.txt *.csv *.tsv *.kvtml)"), QStringLiteral("Všechny soubory (*)")});
    dlg->setDirectory(QFileInfo(m_dictionary.path).absolutePath());
    const QString path = chooseFile(dlg.get(), m_messenger, false);
    if (!path.isEmpty())
        importFile(path);
}

void TfrmViewEdt::importFile(const QString &path)
{
    qsizetype current = 0;
    if (!checkedLesson(current))
        return;
    const int language = m_dictionary.languageCode;
    // Text in one 8-bit code page: a Russian list is windows-1251 through
    // and through, any other most likely windows-1250.
    const CodePage otherwise = language == LangRussian ? CodePage::Cp1251 : CodePage::Cp1250;
    const QString unreadable = QStringLiteral("Soubor %1 nelze přečíst.").arg(shownPath(path));
    std::optional<WordTable> kvtml;
    QString error;
    QByteArray file;
    DelimitedHead head;
    if (isKvtmlName(path)) {
        // Read as it goes: the file is never in memory whole.
        QFile device;
        if (!openToRead(device, path)) {
            m_messenger.error(this, unreadable);
            return;
        }
        WaitCursor wait;
        kvtml = readKvtml(&device, &error);
    } else {
        bool read = false;
        file = readWholeFile(path, &read);
        if (!read) {
            m_messenger.error(this, unreadable);
            return;
        }
        const QByteArrayView bytes(file);
        WaitCursor wait;
        if (bytes.first(std::min<qsizetype>(bytes.size(), 512)).contains("<kvtml")) {
            kvtml = readKvtml(bytes, &error);
            file = {};
        } else {
            // The preview shows the first rows; the words are read when chosen.
            head = readDelimitedHead(bytes, otherwise, TfrmImport::kPreviewRows + 1);
        }
    }
    if (!kvtml && !error.isEmpty()) {
        m_messenger.information(this, error);
        return;
    }

    const QString baseName = QFileInfo(path).completeBaseName();
    std::function<DelimitedHead(QChar)> reread;
    if (!kvtml)
        reread = [&file, otherwise](QChar separator) {
            WaitCursor wait;
            return readDelimitedHead(QByteArrayView(file), otherwise, TfrmImport::kPreviewRows + 1, separator);
        };
    TfrmImport dialog(this, QFileInfo(path).fileName(), language, head, reread, kvtml,
                      displayText(WordLists.name(current), CodePage::Cp1250), WordLists.isMistakes(current), baseName);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TfrmImport::Target target = dialog.target();
    ImportResult result;
    {
        WaitCursor wait;
        const bool byLesson = target == TfrmImport::Target::LessonPerFileLesson;
        result = kvtml ? importRows(dialog.table(), dialog.choice(), language, byLesson)
                       : importDelimited(QByteArrayView(file), dialog.head(), dialog.header(), dialog.choice(),
                                         language, byLesson);
    }
    qsizetype words = 0;
    for (const ImportedLesson &l : result.lessons)
        words += l.lines.size();
    if (!result.refused.isEmpty()) {
        QStringList reasons;
        for (qsizetype i = 0; i < std::min<qsizetype>(result.refused.size(), kListedRefusals); ++i)
            reasons.append(result.refused[i].reason());
        if (result.refused.size() > kListedRefusals)
            reasons.append(QStringLiteral("… a dalších %1.").arg(result.refused.size() - kListedRefusals));
        const QString listed =
            QStringLiteral("Tyto řádky nelze uložit (%1):\n").arg(result.refused.size()) + reasons.join(u'\n');
        if (words == 0) {
            m_messenger.information(this, listed);
            return;
        }
        if (!m_messenger.ask(this, QStringLiteral("Importovat slovíčka"),
                             listed + QStringLiteral("\n\nImportovat ostatních %1 slovíček ?").arg(words),
                             Messenger::Default::Yes))
            return;
    }
    if (words == 0) {
        m_messenger.information(this, QStringLiteral("V souboru nejsou žádná slovíčka."));
        return;
    }

    // New lessons go before "Chyby" in the file's order, each under a name
    // no lesson has yet.
    QSet<QByteArray> taken;
    auto freeName = [&](const QString &wanted, QByteArray &name) -> bool {
        QString base = wanted.trimmed();
        const QString refusal = unencodableMessage(base, CodePage::Cp1250, QStringLiteral("jméno lekce"));
        if (!refusal.isEmpty()) {
            m_messenger.information(this, refusal);
            return false;
        }
        if (base.isEmpty() || base.contains(u']') || base.contains(u'\n') || base.contains(u'\r'))
            base = QStringLiteral("Import");
        for (int n = 1;; ++n) {
            const QString candidate = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
            name = trimmedBlanks(encode(candidate, CodePage::Cp1250)).toByteArray();
            if (WordLists.checkNewName(name) == LessonNameProblem::None && !taken.contains(name.toLower())) {
                taken.insert(name.toLower());
                return true;
            }
        }
    };
    auto *step = new QUndoCommand(QStringLiteral("Importovat slovíčka"));
    qsizetype at = WordLists.mistakesIndex();
    for (const ImportedLesson &lesson : result.lessons) {
        if (lesson.name.isEmpty() && target == TfrmImport::Target::CurrentLesson) {
            new InsertLinesCommand(*this, current, WordLists.lines(current).size(), LineStore(lesson.lines),
                                   step->text(), step);
            continue;
        }
        QByteArray name;
        const QString wanted = !lesson.name.isEmpty()                    ? lesson.name
                               : target == TfrmImport::Target::NewLesson ? dialog.lessonName()
                                                                         : baseName;
        if (!freeName(wanted, name)) {
            delete step;
            return;
        }
        new AddLessonCommand(*this, at, name, step);
        new InsertLinesCommand(*this, at, 0, LineStore(lesson.lines), step->text(), step);
        ++at;
    }
    WaitCursor wait;
    m_undo->push(step);
}

void TfrmViewEdt::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedWordList(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmViewEdt::dropEvent(QDropEvent *event)
{
    const QString path = droppedWordList(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The preview is modal: it opens after the drop has ended.
    QTimer::singleShot(0, this, [this, path] { importFile(path); });
}

void TfrmViewEdt::exportLesson()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    exportLessons({lesson}, decode(WordLists.name(lesson), CodePage::Cp1250));
}

void TfrmViewEdt::exportDictionary()
{
    QList<qsizetype> all;
    for (qsizetype i = 0; i < WordLists.mistakesIndex(); ++i)
        all.append(i);
    exportLessons(all, QFileInfo(readablePath(m_dictionary.path)).completeBaseName());
}

void TfrmViewEdt::exportLessons(const QList<qsizetype> &which, const QString &title)
{
    std::unique_ptr<QFileDialog> dlg(createFileDialog(this, "ExportDlg", QStringLiteral("Exportovat slovíčka"),
                                                      QFileDialog::AcceptSave, QStringLiteral("Uložit")));
    dlg->setNameFilters(kExportFilters);
    dlg->setDefaultSuffix(QStringLiteral("tsv"));
    dlg->setDirectory(QFileInfo(m_dictionary.path).absolutePath());
    dlg->selectFile(title);
    QFileDialog *raw = dlg.get();
    connect(raw, &QFileDialog::filterSelected, raw, [raw](const QString &filter) {
        raw->setDefaultSuffix(filter == kExportFilters[1] ? QStringLiteral("kvtml") : QStringLiteral("tsv"));
    });
    const QString path = chooseFile(raw, m_messenger, true);
    if (path.isEmpty())
        return;
    QList<ExportLesson> lessons;
    for (qsizetype i : which)
        lessons.append({WordLists.name(i), WordLists.lines(i)});
    bool written = false;
    {
        WaitCursor wait;
        const int language = m_dictionary.languageCode;
        const bool kvtml = isKvtmlName(path);
        written = saveFileInPieces(path, [&](ByteSink &sink) {
            return kvtml ? writeKvtml(sink, lessons, language, title) : writeTsv(sink, lessons, language);
        });
    }
    if (!written)
        m_messenger.error(this, QStringLiteral("Soubor %1 nelze uložit.").arg(shownPath(path)));
}

} // namespace lexitka
