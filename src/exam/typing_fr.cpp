#include "typing_fr.h"

#include <array>

namespace lexitka {
namespace {

constexpr std::array<std::pair<unsigned char, unsigned char>, 28> kFrench{{
    {'1', 0xEF}, // ï
    {'2', 0xEA}, // ê
    {'3', 0xE8}, // è
    {'4', 0xE7}, // ç
    {'5', 0xE2}, // â
    {'6', 0xF4}, // ô
    {'7', 0x9C}, // œ
    {'8', 0xE0}, // à
    {'9', 0xEE}, // î
    {'0', 0xE9}, // é
    {'[', 0xFB}, // û
    {';', 0xF9}, // ù
    {'!', 0xCF}, // Ï
    {'@', 0xCA}, // Ê
    {'$', 0xC7}, // Ç
    {'#', 0xC8}, // È
    {'%', 0xC2}, // Â
    {'^', 0xD4}, // Ô
    {'&', 0x8C}, // Œ
    {'*', 0xC0}, // À
    {'(', 0xCE}, // Î
    {')', 0xC9}, // É
    {'{', 0xDB}, // Û
    {':', 0xD9}, // Ù
    {'z', 'y'},  {'y', 'z'}, {'Z', 'Y'}, {'Y', 'Z'},
}};

} // namespace

TypingTable frenchTypingTable() { return kFrench; }

} // namespace lexitka
