#pragma once

#include "data/codepage.h"
#include "exam/typing.h"

#include <QObject>
#include <QString>

class QLineEdit;

namespace lexitka {

class Keyboards;

// Turns each key the user types into a line edit into the letter of the
// typing table, exactly once, keeping the caret: the one rule of the test
// windows, the word dialog and the find dialog. The window calls edited()
// from the box's textEdited, which text set by the program never raises;
// what is left before the caret after a deletion is not converted either
// (a French z would turn back into y).
class TypingAid : public QObject {
public:
    // The keyboards tell, key by key, whether the y/z exchange applies.
    TypingAid(QLineEdit *box, const Keyboards &keyboards);
    // An empty table turns the aid off.
    void setTable(TypingTable table, CodePage cp);
    void edited();

private:
    QLineEdit *m_box;
    const Keyboards &m_keyboards;
    TypingTable m_table;
    CodePage m_cp = CodePage::Cp1250;
    QString m_before;
};

// The typing table of a language's foreign words (French, Spanish,
// Russian); empty for the others.
TypingTable foreignTypingTable(int languageCode);

} // namespace lexitka
