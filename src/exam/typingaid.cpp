#include "typingaid.h"

#include "data/dictionary.h"
#include "exam/typing_es.h"
#include "exam/typing_fr.h"
#include "exam/typing_ru.h"

#include "platform/keyboard.h"

#include <QLineEdit>

namespace lexitka {
namespace {

// The one character before the caret of the box, shown in code page cp,
// converted by the table; the caret is put back.
void convertBeforeCaret(QLineEdit *box, TypingTable table, CodePage cp, const Keyboards &keyboards)
{
    const QString text = box->text();
    const int caret = box->cursorPosition();
    if (text.isEmpty() || caret <= 0)
        return;
    const QByteArray typed = encode(text.mid(caret - 1, 1), cp);
    if (typed.size() != 1)
        return;
    const auto target =
        lookupTyping(table, static_cast<unsigned char>(typed[0]), keyboards.switchedCzechUserToEnglish());
    if (!target)
        return;
    QString out = text;
    out.replace(caret - 1, 1, decode(QByteArray(1, static_cast<char>(*target)), cp));
    box->setText(out);
    box->setCursorPosition(caret);
}

} // namespace

TypingAid::TypingAid(QLineEdit *box, const Keyboards &keyboards) : QObject(box), m_box(box), m_keyboards(keyboards)
{
    // textEdited comes before textChanged, so while edited() runs m_before
    // still holds the text as it was.
    connect(box, &QLineEdit::textChanged, this, [this] { m_before = m_box->text(); });
}

void TypingAid::setTable(TypingTable table, CodePage cp)
{
    m_table = table;
    m_cp = cp;
}

void TypingAid::edited()
{
    const bool typed = insertsText(m_before, m_box->text());
    m_before = m_box->text();
    if (typed && !m_table.empty())
        convertBeforeCaret(m_box, m_table, m_cp, m_keyboards); // setText: no textEdited, so no second round
}

TypingTable foreignTypingTable(int languageCode)
{
    switch (languageCode) {
    case LangFrench: return frenchTypingTable();
    case LangSpanish: return spanishTypingTable();
    case LangRussian: return cyrillicTypingTable();
    default: return {};
    }
}

} // namespace lexitka
