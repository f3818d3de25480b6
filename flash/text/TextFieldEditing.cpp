// Selection and the editing operations input fields are typed into through.
#include "flash/text/RestrictFilter.h"
#include "flash/text/TextField.h"
#include "flash/text/Utf.h"

#include <algorithm>

namespace flash::text {

void TextField::setSelection(size_t begin, size_t end)
{
    m_selection.begin = std::min(begin, m_content.size());
    m_selection.end = std::min(end, m_content.size());
}

std::u32string TextField::selectedText() const
{
    const size_t from = std::min(m_selection.begin, m_selection.end);
    const size_t to = std::max(m_selection.begin, m_selection.end);
    return m_content.text().substr(from, to - from);
}

void TextField::replaceSelection(std::string_view utf8)
{
    const size_t from = std::min(m_selection.begin, m_selection.end);
    const size_t to = std::max(m_selection.begin, m_selection.end);
    const std::u32string chars = normalizedLineEnds(utf8);
    replaceChars(from, to, chars, m_newFormat);
    m_selection.begin = m_selection.end = from + chars.size();
}

bool TextField::type(std::u32string_view typed)
{
    const size_t from = std::min(m_selection.begin, m_selection.end);
    const size_t to = std::max(m_selection.begin, m_selection.end);
    const RestrictFilter filter = m_settings.restrict ? RestrictFilter(fromUtf8(*m_settings.restrict)) : RestrictFilter();
    const size_t kept = m_content.size() - (to - from);
    const size_t room = m_settings.maxChars == 0 ? SIZE_MAX
                      : m_settings.maxChars > kept ? m_settings.maxChars - kept : 0;
    std::u32string accepted;
    for (char32_t c : typed) {
        if (accepted.size() >= room)
            break;
        if (c == U'\n' || c == U'\r') {
            if (!m_settings.multiline)
                continue;
            c = U'\r';
        } else if (c < 0x20 || !filter.accepts(c)) {
            continue;
        }
        accepted.push_back(c);
    }
    if (accepted.empty() && from == to)
        return false;
    if (accepted.empty() && !typed.empty())
        return false; // nothing allowed: the selection stays as it is
    replaceChars(from, to, accepted, m_newFormat);
    m_selection.begin = m_selection.end = from + accepted.size();
    return true;
}

bool TextField::deleteBackward()
{
    size_t from = std::min(m_selection.begin, m_selection.end);
    const size_t to = std::max(m_selection.begin, m_selection.end);
    if (from == to) {
        if (from == 0)
            return false;
        --from;
    }
    replaceChars(from, to, {}, m_newFormat);
    m_selection.begin = m_selection.end = from;
    return true;
}

bool TextField::deleteForward()
{
    const size_t from = std::min(m_selection.begin, m_selection.end);
    size_t to = std::max(m_selection.begin, m_selection.end);
    if (from == to) {
        if (to >= m_content.size())
            return false;
        ++to;
    }
    replaceChars(from, to, {}, m_newFormat);
    m_selection.begin = m_selection.end = from;
    return true;
}

} // namespace flash::text
