#include "typing_es.h"

#include <array>

namespace lexitka {
namespace {

constexpr std::array<std::pair<unsigned char, unsigned char>, 16> kSpanish{{
    {'1', 0xA1}, // ¡
    {'/', 0xBF}, // ¿
    {'5', 0xF1}, // ñ
    {'6', 0xF3}, // ó
    {'7', 0xFD}, // ý
    {'8', 0xE1}, // á
    {'9', 0xED}, // í
    {'0', 0xE9}, // é
    {'[', 0xFA}, // ú
    {'%', 0xD1}, // Ñ
    {'^', 0xD3}, // Ó
    {'&', 0xDD}, // Ý
    {'*', 0xC1}, // Á
    {'(', 0xCD}, // Í
    {')', 0xC9}, // É
    {'{', 0xDA}, // Ú
}};

} // namespace

TypingTable spanishTypingTable() { return kSpanish; }

} // namespace lexitka
