#include "typing_ru.h"

#include <array>
#include <string_view>

namespace lexitka {
namespace {

using Pair = std::pair<unsigned char, unsigned char>;

// The English-layout keys of А…Я and а…я, in the letters' alphabetical
// order, which is also their order in windows-1251 (192…255).
constexpr std::string_view kCapitals = "ABVGDE^YIJKLMNOPRSTUFHC$#%!Z:{WX";
constexpr std::string_view kSmall = "abvgde6yijklmnoprstufhc4351z;[wx";

constexpr std::array<Pair, 66> makeTable()
{
    std::array<Pair, 66> t{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kCapitals.size(); ++i)
        t[n++] = {static_cast<unsigned char>(kCapitals[i]), static_cast<unsigned char>(192 + i)};
    for (std::size_t i = 0; i < kSmall.size(); ++i)
        t[n++] = {static_cast<unsigned char>(kSmall[i]), static_cast<unsigned char>(224 + i)};
    t[n++] = {'@', 168}; // Ё
    t[n++] = {'2', 184}; // ё
    return t;
}

static_assert(kCapitals.size() == 32 && kSmall.size() == 32);
constexpr std::array<Pair, 66> kTable = makeTable();

} // namespace

TypingTable cyrillicTypingTable() { return kTable; }

} // namespace lexitka
