#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace lexitka {

// The layout a field is typed on.
enum class FieldKeyboard { Czech, Foreign };

struct KeyboardLayout {
    quintptr handle = 0;
    QString englishLanguageName; // "Czech", "English (United States)", …
};

// The platform's input layouts: list them, make one active for our input.
class KeyboardLayoutService {
public:
    virtual ~KeyboardLayoutService() = default;
    // nullopt when the list cannot be had: then nothing can be switched.
    virtual std::optional<QList<KeyboardLayout>> layouts() = 0;
    virtual void activate(quintptr handle) = 0;
    // The layout active now; nullopt when the platform cannot tell.
    virtual std::optional<quintptr> active() { return std::nullopt; }
};

// Where layouts cannot be switched per program: finds none, does nothing.
class NullKeyboardLayoutService final : public KeyboardLayoutService {
public:
    std::optional<QList<KeyboardLayout>> layouts() override { return std::nullopt; }
    void activate(quintptr) override { }
};

// The Czech and English layouts found once at start-up, and the two
// switching operations the test windows and editors use. The layouts are
// switched only when both were found; the user's own layout comes back
// whenever the program loses the keyboard and when it ends.
class Keyboards {
public:
    explicit Keyboards(KeyboardLayoutService &service) : m_service(service) { }
    ~Keyboards();

    Keyboards(const Keyboards &) = delete;
    Keyboards &operator=(const Keyboards &) = delete;

    // First two letters of the English language name decide; the last match wins.
    void findLayouts();

    void UseCzechKeyboard();
    void UseForeignKeyboard();

    std::optional<quintptr> czech() const { return m_czech; }
    std::optional<quintptr> english() const { return m_english; }
    // Both layouts are there, so the two operations really switch.
    bool canSwitch() const { return m_czech && m_english; }

    // True while the program has put a user whose own layout is the Czech
    // one on the English layout: the keys labelled Y and Z then give each
    // other's letter, which the French typing table turns back.
    bool switchedCzechUserToEnglish() const;

    // None of the program's windows has the keyboard any more: the user's
    // own layout comes back. When one has it again, ours is put back.
    void applicationActive(bool active);
    // The layout the user had before the program switched, put back.
    void restoreUserLayout();
    // A field of that layout got the focus. Once our windows have switched,
    // the field's layout applies, whichever window switched it before.
    void fieldEntered(FieldKeyboard field);

private:
    void activate(quintptr handle);

    KeyboardLayoutService &m_service;
    std::optional<quintptr> m_czech;
    std::optional<quintptr> m_english;
    // Our layout is in force since a switch, not yet given back.
    bool m_holding = false;
    // The user's layout before that switch; empty when the platform cannot
    // tell (then nothing is given back, and nothing needs putting back).
    std::optional<quintptr> m_own;
    // What our windows asked for last.
    std::optional<quintptr> m_wanted;
};

} // namespace lexitka
