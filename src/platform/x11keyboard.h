#pragma once

#include "platform/keyboard.h"

#include <memory>

struct _XDisplay; // Xlib's Display, kept out of every other file

namespace lexitka {

// The X display's keyboard groups (XKB). A layout is listed by its group's
// name, which is the layout's English name ("Czech", "English (US)"), with
// the group's number as its handle, and is activated by locking that group.
// The group belongs to the whole display, not to us: Keyboards gives the
// user's own back.
class X11KeyboardLayoutService final : public KeyboardLayoutService {
public:
    // A null display, or one without XKB: lists nothing, switches nothing.
    explicit X11KeyboardLayoutService(_XDisplay *display);

    // The running application's X display; null when it is not on X11
    // (offscreen, Wayland) or the program was built without X11.
    static _XDisplay *applicationDisplay();
    bool available() const { return m_display != nullptr; }

    std::optional<QList<KeyboardLayout>> layouts() override;
    void activate(quintptr handle) override;
    std::optional<quintptr> active() override;

private:
    _XDisplay *m_display = nullptr;
};

// The layout service of the platform the application runs on: X11's, or
// one that switches nothing.
std::unique_ptr<KeyboardLayoutService> platformKeyboardService();

} // namespace lexitka
