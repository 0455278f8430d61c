#include "celleditor.h"

#include "data/dictionary.h"
#include "exam/typingaid.h"
#include "platform/keyboard.h"
#include "platform/keyboardfocus.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace lexitka {
namespace {

constexpr char kColumn[] = "lexitkaCellColumn";
constexpr int kForeignWordColumn = 1;

} // namespace

CellEditorDelegate::CellEditorDelegate(QObject *parent, std::function<int()> language,
                                       std::function<bool(int, const QString &)> accept)
    : LessonDelegate(parent), m_language(std::move(language)), m_accept(std::move(accept))
{ }

bool CellEditorDelegate::onForeignLayout(int column) const
{
    const int language = m_language();
    return column == kForeignWordColumn
           && (language == LangRussian || language == LangFrench || language == LangSpanish);
}

QWidget *CellEditorDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edtCell"));
    edit->setFrame(false);
    edit->setFont(option.font);
    edit->setProperty(kColumn, index.column());
    // Marked, or the focus would bring the window's Czech layout back.
    setFieldKeyboard(edit, onForeignLayout(index.column()) ? FieldKeyboard::Foreign : FieldKeyboard::Czech);
    if (m_keyboards && index.column() == kForeignWordColumn) {
        const int language = m_language();
        auto *aid = new TypingAid(edit, *m_keyboards); // owned by the editor
        aid->setTable(foreignTypingTable(language), languageInfo(language).foreignCodePage);
        connect(edit, &QLineEdit::textEdited, aid, &TypingAid::edited);
    }
    return edit;
}

void CellEditorDelegate::entered(int column) const
{
    if (!m_keyboards)
        return;
    if (onForeignLayout(column))
        m_keyboards->UseForeignKeyboard();
    else
        m_keyboards->UseCzechKeyboard();
}

bool CellEditorDelegate::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || !edit->property(kColumn).isValid())
        return LessonDelegate::eventFilter(watched, event);
    const int column = edit->property(kColumn).toInt();
    switch (event->type()) {
    case QEvent::FocusIn: entered(column); break;
    case QEvent::FocusOut:
        // The message of a refusal takes the focus: the cell stays open under it.
        if (m_refusing)
            return true;
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Tab && key != Qt::Key_Backtab)
            break;
        m_refusing = true;
        const bool accepted = m_accept(column, edit->text());
        m_refusing = false;
        if (!accepted) {
            edit->setFocus();
            return true;
        }
        break;
    }
    default: break;
    }
    return LessonDelegate::eventFilter(watched, event);
}

} // namespace lexitka
