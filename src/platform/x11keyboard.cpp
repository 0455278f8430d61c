#include "x11keyboard.h"

#include <QGuiApplication>

#include <algorithm>

#if defined(LEXITKA_HAVE_XKB) && QT_CONFIG(xcb)
#define LEXITKA_X11_LAYOUTS 1
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>
#endif

namespace lexitka {

#ifdef LEXITKA_X11_LAYOUTS

X11KeyboardLayoutService::X11KeyboardLayoutService(_XDisplay *display)
{
    int opcode = 0, event = 0, error = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    if (display && XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        m_display = display;
}

_XDisplay *X11KeyboardLayoutService::applicationDisplay()
{
    if (!qGuiApp)
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

std::optional<QList<KeyboardLayout>> X11KeyboardLayoutService::layouts()
{
    if (!m_display)
        return std::nullopt;
    const std::unique_ptr<XkbDescRec, void (*)(XkbDescPtr)> desc(
        XkbAllocKeyboard(), [](XkbDescPtr d) { XkbFreeKeyboard(d, XkbAllComponentsMask, True); });
    if (!desc || XkbGetControls(m_display, XkbGroupsWrapMask, desc.get()) != Success
        || XkbGetNames(m_display, XkbGroupNamesMask, desc.get()) != Success || !desc->names)
        return std::nullopt;
    QList<KeyboardLayout> list;
    const int groups = std::min<int>(desc->ctrls->num_groups, XkbNumKbdGroups);
    for (int group = 0; group < groups; ++group) {
        QString name;
        if (const Atom atom = desc->names->groups[group]) {
            if (char *text = XGetAtomName(m_display, atom)) {
                name = QString::fromUtf8(text);
                XFree(text);
            }
        }
        list.append({static_cast<quintptr>(group), name});
    }
    return list;
}

void X11KeyboardLayoutService::activate(quintptr handle)
{
    if (!m_display || handle >= XkbNumKbdGroups)
        return;
    XkbLockGroup(m_display, XkbUseCoreKbd, static_cast<unsigned>(handle));
    // Nothing else may be sent for a while (at exit, nothing at all).
    XFlush(m_display);
}

std::optional<quintptr> X11KeyboardLayoutService::active()
{
    XkbStateRec state{};
    if (!m_display || XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return static_cast<quintptr>(state.locked_group);
}

#else

X11KeyboardLayoutService::X11KeyboardLayoutService(_XDisplay *) { }
_XDisplay *X11KeyboardLayoutService::applicationDisplay() { return nullptr; }
std::optional<QList<KeyboardLayout>> X11KeyboardLayoutService::layouts() { return std::nullopt; }
void X11KeyboardLayoutService::activate(quintptr) { }
std::optional<quintptr> X11KeyboardLayoutService::active() { return std::nullopt; }

#endif

std::unique_ptr<KeyboardLayoutService> platformKeyboardService()
{
    auto x11 = std::make_unique<X11KeyboardLayoutService>(X11KeyboardLayoutService::applicationDisplay());
    if (x11->available())
        return x11;
    return std::make_unique<NullKeyboardLayoutService>();
}

} // namespace lexitka
