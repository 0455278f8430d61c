#include "gridrow.h"

#include "data/codepage.h"
#include "data/dictionary.h"

namespace lexitka {

QByteArray articleBytes(QByteArrayView clen, int languageCode)
{
    if (articles(languageCode).isEmpty())
        return {};
    const int index = articleIndex(clen);
    if (index == kNoArticle)
        return {};
    return toCp1250(articleText(languageCode, index));
}

GridRow gridRow(QByteArrayView line, int languageCode)
{
    WordRecord w = ParseWord(line, languageCode);
    return {articleBytes(w.Clen, languageCode), std::move(w.Slovo), std::move(w.Mn), std::move(w.Preklad)};
}

} // namespace lexitka
