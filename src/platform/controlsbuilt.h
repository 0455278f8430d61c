#pragma once

namespace lexitka {

// When a window makes its controls: in its constructor, or when it is first
// shown or reached through the program. The program makes every window at
// start, but a hidden window's controls cost start-up time that only its
// first use needs.
enum class ControlsBuilt { Now, OnFirstUse };

} // namespace lexitka
