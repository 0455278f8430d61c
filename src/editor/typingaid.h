#pragma once

#include "data/codepage.h"
#include "exam/typing.h"

#include <QObject>
#include <QString>

class QLineEdit;

namespace lexitka {

// Turns each key the user types into a line edit into the letter of the
// typing table, exactly once, keeping the caret. The window calls edited()
// from the box's textEdited, which text set by the program never raises;
// what is left before the caret after a deletion is not converted either.
class TypingAid : public QObject {
public:
    explicit TypingAid(QLineEdit *box);
    // An empty table turns the aid off.
    void setTable(TypingTable table, CodePage cp);
    void edited();

private:

    QLineEdit *m_box;
    TypingTable m_table;
    CodePage m_cp = CodePage::Cp1250;
    QString m_before;
};

// The typing table of a language's foreign words (French, Spanish,
// Russian); empty for the others.
TypingTable foreignTypingTable(int languageCode);

} // namespace lexitka
