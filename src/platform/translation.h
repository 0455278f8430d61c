#pragma once

namespace lexitka {

// Loads Qt's own Czech texts ("Ano", "Ne", "Storno" in its dialogs), whatever
// the system's language: the whole program speaks Czech. False when the
// translation is not installed; Qt's English texts stay then.
bool installCzechTranslation();

} // namespace lexitka
