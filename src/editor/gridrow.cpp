#include "gridrow.h"

#include "data/codepage.h"
#include "data/dictionary.h"

namespace lexitka {

GridRow gridRow(QByteArrayView line, int languageCode)
{
    WordRecord w = ParseWord(line, languageCode);
    return {toCp1250(articleCell(languageCode, w.Clen)), std::move(w.Slovo), std::move(w.Mn), std::move(w.Preklad)};
}

} // namespace lexitka
