#include "keyboard.h"

namespace lexitka {

Keyboards::~Keyboards() { restoreUserLayout(); }

void Keyboards::findLayouts()
{
    m_czech.reset();
    m_english.reset();
    const auto list = m_service.layouts();
    if (!list)
        return;
    for (const KeyboardLayout &layout : *list) {
        const QString prefix = layout.englishLanguageName.left(2).toUpper();
        if (prefix == QLatin1String("CZ"))
            m_czech = layout.handle;
        else if (prefix == QLatin1String("EN"))
            m_english = layout.handle;
    }
}

void Keyboards::UseCzechKeyboard()
{
    if (!canSwitch())
        return;
    UseForeignKeyboard();
    activate(*m_czech);
}

void Keyboards::UseForeignKeyboard()
{
    if (canSwitch())
        activate(*m_english);
}

void Keyboards::activate(quintptr handle)
{
    if (!m_holding) {
        m_own = m_service.active();
        m_holding = true;
    }
    m_wanted = handle;
    m_service.activate(handle);
}

bool Keyboards::switchedCzechUserToEnglish() const
{
    if (!m_holding || !canSwitch() || m_own != m_czech)
        return false;
    return m_service.active() == m_english;
}

void Keyboards::applicationActive(bool active)
{
    if (!active)
        restoreUserLayout();
    else if (m_wanted && !m_holding && canSwitch())
        activate(*m_wanted);
}

void Keyboards::fieldEntered(FieldKeyboard field)
{
    // Until then the user's own layout stays, whatever it is.
    if (!m_wanted || !canSwitch())
        return;
    const quintptr wanted = field == FieldKeyboard::Czech ? *m_czech : *m_english;
    if (m_holding && m_wanted == wanted)
        return;
    if (field == FieldKeyboard::Czech)
        UseCzechKeyboard();
    else
        UseForeignKeyboard();
}

void Keyboards::restoreUserLayout()
{
    // Where the platform cannot tell the user's layout, there is nothing
    // to give back: ours simply stays.
    if (!m_holding || !m_own)
        return;
    m_holding = false;
    m_service.activate(*m_own);
}

} // namespace lexitka
