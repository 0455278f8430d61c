#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace lexitka {

struct KeyboardLayout {
    quintptr handle = 0;
    QString englishLanguageName; // "Czech", "English (United States)", …
};

// The platform's input layouts: list them, make one active for our input.
class KeyboardLayoutService {
public:
    virtual ~KeyboardLayoutService() = default;
    // nullopt when the list cannot be had.
    virtual std::optional<QList<KeyboardLayout>> layouts() = 0;
    virtual void activate(quintptr handle) = 0;
};

// Where layouts cannot be switched per program: finds none, does nothing.
class NullKeyboardLayoutService final : public KeyboardLayoutService {
public:
    std::optional<QList<KeyboardLayout>> layouts() override { return std::nullopt; }
    void activate(quintptr) override {}
};

// The Czech and English layouts found once at start-up, and the two
// switching operations the test windows and editors use.
class Keyboards {
public:
    explicit Keyboards(KeyboardLayoutService &service) : m_service(service) {}

    // First two letters of the English language name decide; the last match wins.
    void findLayouts();

    void UseCzechKeyboard();
    void UseForeignKeyboard();

    std::optional<quintptr> czech() const { return m_czech; }
    std::optional<quintptr> english() const { return m_english; }

private:
    KeyboardLayoutService &m_service;
    std::optional<quintptr> m_czech;
    std::optional<quintptr> m_english;
};

} // namespace lexitka
