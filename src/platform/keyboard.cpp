#include "keyboard.h"

namespace lexitka {

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
    UseForeignKeyboard();
    if (m_czech)
        m_service.activate(*m_czech);
}

void Keyboards::UseForeignKeyboard()
{
    if (m_english)
        m_service.activate(*m_english);
}

} // namespace lexitka
