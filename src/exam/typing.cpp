#include "typing.h"

#include <algorithm>

namespace lexitka {

bool isYZExchange(std::pair<unsigned char, unsigned char> pair)
{
    auto letter = [](unsigned char c) { return c == 'y' || c == 'z' || c == 'Y' || c == 'Z'; };
    return letter(pair.first) && letter(pair.second) && pair.first != pair.second;
}

std::optional<unsigned char> lookupTyping(TypingTable table, unsigned char typed, bool czechKeysOnEnglish)
{
    for (const auto &pair : table) {
        if (pair.first == typed && (czechKeysOnEnglish || !isYZExchange(pair)))
            return pair.second;
    }
    return std::nullopt;
}

bool insertsText(const QString &before, const QString &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return after.size() - prefix - suffix > 0;
}

QByteArray convertBeforeCaret(const QByteArray &text, qsizetype caret, TypingTable table, bool czechKeysOnEnglish)
{
    if (text.isEmpty() || caret <= 0 || caret > text.size())
        return text;
    const auto target = lookupTyping(table, static_cast<unsigned char>(text[caret - 1]), czechKeysOnEnglish);
    if (!target)
        return text;
    QByteArray out = text;
    out[caret - 1] = static_cast<char>(*target);
    return out;
}

} // namespace lexitka
