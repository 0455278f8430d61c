// The grid as a spreadsheet: several rows selected at once, copied, cut and
// pasted as tab-separated text, moved to another lesson, and cells typed
// over in place. Every command is one undo step.
#include "fviewedit.h"

#include "data/dictionary.h"
#include "data/displaytext.h"
#include "editor/celleditor.h"
#include "editor/lessonmodel.h"
#include "exchange/delimitedtext.h"
#include "exchange/kvtml.h"
#include "exchange/wordexport.h"
#include "exchange/wordtable.h"
#include "platform/messenger.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMimeData>
#include <QTableView>
#include <QUndoStack>

namespace lexitka {

QList<qsizetype> TfrmViewEdt::selectedRows() const
{
    QList<qsizetype> rows;
    for (const QModelIndex &index : sgList->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmViewEdt::copyRows()
{
    qsizetype lesson = 0;
    const QList<qsizetype> rows = selectedRows();
    if (!checkedLesson(lesson) || rows.isEmpty())
        return;
    QString text;
    for (qsizetype row : rows)
        text += tsvRow(wordCells(WordLists.lines(lesson).at(row), m_dictionary.languageCode)) + u'\n';
    QGuiApplication::clipboard()->setText(text);
}

void TfrmViewEdt::cutRows()
{
    qsizetype lesson = 0;
    const QList<qsizetype> rows = selectedRows();
    if (!checkedLesson(lesson) || rows.isEmpty())
        return;
    copyRows();
    m_undo->push(new RemoveLinesCommand(*this, lesson, rows, QStringLiteral("Vyjmout slovíčka")));
}

void TfrmViewEdt::pasteRows()
{
    qsizetype lesson = 0;
    if (!lessonToAddTo(lesson))
        return;
    const QString text = QGuiApplication::clipboard()->text();
    const QList<QStringList> rows = parseDelimited(text, u'\t');
    if (rows.isEmpty())
        return;
    // The grid's four columns; two columns are a word and its translation.
    WordTable table = tableFromDelimited(rows, looksLikeHeader(rows.first()));
    ColumnChoice choice = guessColumns(table, m_dictionary.languageCode);
    if (table.columns.size() >= 4 && !looksLikeHeader(rows.first()))
        choice = {1, 3, 0, 2};
    const ImportResult result = importRows(table, choice, m_dictionary.languageCode, false);
    if (!result.refused.isEmpty()) {
        QStringList reasons;
        for (const RefusedRow &r : result.refused)
            reasons.append(r.reason());
        m_messenger.information(this, QStringLiteral("Tyto řádky nelze vložit:\n") + reasons.mid(0, 15).join(u'\n'));
    }
    if (result.lessons.isEmpty())
        return;
    const QList<qsizetype> selected = selectedRows();
    const qsizetype at = selected.isEmpty() ? WordLists.lines(lesson).size() : selected.last() + 1;
    m_undo->push(new InsertLinesCommand(*this, lesson, at, LineStore(result.lessons.first().lines),
                                        QStringLiteral("Vložit slovíčka")));
}

void TfrmViewEdt::moveRows()
{
    qsizetype lesson = 0;
    const QList<qsizetype> rows = selectedRows();
    if (!checkedLesson(lesson) || rows.isEmpty())
        return;
    if (WordLists.isMistakes(lesson)) {
        m_messenger.information(this, QStringLiteral("Chyby nelze přesouvat do lekcí."));
        return;
    }
    QStringList names;
    QList<qsizetype> targets;
    for (qsizetype i = 0; i < WordLists.mistakesIndex(); ++i) {
        if (i == lesson)
            continue;
        names.append(displayText(WordLists.name(i), CodePage::Cp1250));
        targets.append(i);
    }
    if (targets.isEmpty()) {
        m_messenger.information(this, QStringLiteral("Není jiná lekce, kam slovíčka přesunout."));
        return;
    }
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("moveBox"));
    ask.setWindowTitle(QStringLiteral("Přesunout do lekce"));
    ask.setLabelText(QStringLiteral("Vyberte lekci, kam přesunout vybraná slovíčka (%1)").arg(rows.size()));
    ask.setComboBoxItems(names);
    ask.setComboBoxEditable(false);
    ask.setOkButtonText(QStringLiteral("OK"));
    ask.setCancelButtonText(QStringLiteral("Storno"));
    if (ask.exec() != QDialog::Accepted)
        return;
    const qsizetype target = targets.value(names.indexOf(ask.textValue()), -1);
    if (target < 0)
        return;
    LineStore moved;
    for (qsizetype row : rows)
        moved.append(WordLists.lines(lesson).at(row));
    auto *step = new QUndoCommand(QStringLiteral("Přesunout slovíčka"));
    new RemoveLinesCommand(*this, lesson, rows, step->text(), step);
    new InsertLinesCommand(*this, target, WordLists.lines(target).size(), moved, step->text(), step);
    m_undo->push(step);
    showLesson(lesson, rows.first()); // the user goes on where he was
}

void TfrmViewEdt::setKeyboards(Keyboards *keyboards)
{
    m_cellKeyboards = keyboards;
    if (m_cellEditor)
        m_cellEditor->setKeyboards(keyboards);
}

// The word dialog's refusals, for one field at a time.
QString TfrmViewEdt::cellRefusal(int column, const QString &typed) const
{
    const int language = m_dictionary.languageCode;
    const QString text = column == 0 ? typed.trimmed() : typed;
    if (text.contains(u'\\') || text.contains(u'\n') || text.contains(u'\r'))
        return QStringLiteral("Slovíčko nesmí obsahovat zpětné lomítko „\\“ ani konec "
                              "řádku: ve slovníku oddělují části slovíčka.");
    static const char *const fieldNames[] = {"Člen", "Slovo", "Množné číslo (minulý čas)", "Překlad"};
    if (column < 0 || column > 3)
        return {};
    const QString refusal =
        unencodableMessage(text, m_model->columnCodePage(column), QString::fromUtf8(fieldNames[column]));
    if (!refusal.isEmpty())
        return refusal;
    if (column == 0 && articleCode(language, text) == kNoArticle && !text.isEmpty() && text != u"není")
        return QStringLiteral("„%1“ není člen tohoto jazyka. Zadejte jeden z členů: %2.")
            .arg(displayText(text), articles(language).join(QStringLiteral(", ")));
    return {};
}

bool TfrmViewEdt::cellAcceptable(int column, const QString &typed)
{
    const QString refusal = cellRefusal(column, typed);
    if (!refusal.isEmpty())
        m_messenger.information(this, refusal);
    return refusal.isEmpty();
}

void TfrmViewEdt::cellEdited(int row, int column, const QString &typed)
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson) || row < 0 || row >= WordLists.lines(lesson).size())
        return;
    if (!cellAcceptable(column, typed))
        return;
    const int language = m_dictionary.languageCode;
    const QByteArray old = WordLists.lines(lesson).at(row).toByteArray();
    WordRecord word = ParseWord(old, language);
    const QString text = column == 0 ? typed.trimmed() : typed;
    const CodePage cp = m_model->columnCodePage(column);
    switch (column) {
    case 0: word.Clen = QByteArray::number(articleCode(language, text)); break;
    case 1: word.Slovo = encode(text, cp); break;
    case 2: word.Mn = encode(text, cp); break;
    case 3: word.Preklad = encode(text, cp); break;
    default: return;
    }
    if (word == ParseWord(old, language))
        return;
    QByteArray line = ComposeEntry(QByteArray::number(row), word, language);
    if (WordLists.isMistakes(lesson))
        line.prepend(old.left(1) + '\\'); // the kind of question the mistake was made in
    m_undo->push(new EditWordCommand(*this, lesson, row, line, QStringLiteral("Upravit buňku")));
}

} // namespace lexitka
