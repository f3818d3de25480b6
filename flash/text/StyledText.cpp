// Editing characters and formats while keeping the runs covering the text exactly.
#include "flash/text/StyledText.h"

#include <algorithm>

namespace flash::text {

const TextFormat* StyledText::formatAt(size_t index) const
{
    size_t start = 0;
    for (const Run& run : m_runs) {
        if (index < start + run.length)
            return &run.format;
        start += run.length;
    }
    return m_runs.empty() ? nullptr : &m_runs.back().format;
}

TextFormat StyledText::commonFormat(size_t begin, size_t end) const
{
    end = std::min(end, size());
    begin = std::min(begin, end);
    if (begin == end) {
        const TextFormat* at = formatAt(begin > 0 && begin == size() ? begin - 1 : begin);
        return at ? *at : TextFormat();
    }
    std::optional<TextFormat> common;
    size_t start = 0;
    for (const Run& run : m_runs) {
        const size_t runEnd = start + run.length;
        if (runEnd > begin && start < end)
            common = common ? common->commonWith(run.format) : run.format;
        start = runEnd;
        if (start >= end)
            break;
    }
    // Paragraph fields are those of the first paragraph's start and every later one's.
    return common.value_or(TextFormat());
}

void StyledText::clear()
{
    m_text.clear();
    m_runs.clear();
}

size_t StyledText::splitAt(size_t position)
{
    size_t start = 0;
    for (size_t i = 0; i < m_runs.size(); ++i) {
        if (position == start)
            return i;
        const size_t runEnd = start + m_runs[i].length;
        if (position < runEnd) {
            Run tail{runEnd - position, m_runs[i].format};
            m_runs[i].length = position - start;
            m_runs.insert(m_runs.begin() + ptrdiff_t(i) + 1, std::move(tail));
            return i + 1;
        }
        start = runEnd;
    }
    return m_runs.size();
}

void StyledText::mergeEqualNeighbours()
{
    std::vector<Run> merged;
    merged.reserve(m_runs.size());
    for (Run& run : m_runs) {
        if (run.length == 0)
            continue;
        if (!merged.empty() && merged.back().format == run.format)
            merged.back().length += run.length;
        else
            merged.push_back(std::move(run));
    }
    m_runs = std::move(merged);
}

void StyledText::replace(size_t begin, size_t end, std::u32string_view inserted, const TextFormat& format)
{
    end = std::min(end, size());
    begin = std::min(begin, end);
    // Appending in the last run's format (the common case while parsing) needs no splitting.
    if (begin == end && end == size() && !m_runs.empty() && m_runs.back().format == format) {
        m_text.append(inserted);
        m_runs.back().length += inserted.size();
        return;
    }
    const size_t first = splitAt(begin);
    const size_t last = splitAt(end);
    m_runs.erase(m_runs.begin() + ptrdiff_t(first), m_runs.begin() + ptrdiff_t(last));
    if (!inserted.empty())
        m_runs.insert(m_runs.begin() + ptrdiff_t(first), Run{inserted.size(), format});
    m_text.replace(begin, end - begin, inserted);
    mergeEqualNeighbours();
}

void StyledText::applyToRange(size_t begin, size_t end, const TextFormat& format)
{
    if (begin >= end)
        return;
    const size_t first = splitAt(begin);
    const size_t last = splitAt(end);
    for (size_t i = first; i < last; ++i)
        m_runs[i].format.mergeFrom(format);
}

void StyledText::applyFormat(size_t begin, size_t end, const TextFormat& format)
{
    end = std::min(end, size());
    begin = std::min(begin, end);
    applyToRange(begin, end, format.characterPart());
    if (format.hasParagraphFields() && !m_text.empty()) {
        const size_t from = paragraphStart(begin);
        const size_t to = std::min(size(), paragraphEnd(end > begin ? end - 1 : end) + 1);
        applyToRange(from, to, format.paragraphPart());
    }
    mergeEqualNeighbours();
}

size_t StyledText::paragraphStart(size_t index) const
{
    index = std::min(index, size());
    while (index > 0 && m_text[index - 1] != U'\r')
        --index;
    return index;
}

size_t StyledText::paragraphEnd(size_t index) const
{
    const size_t found = m_text.find(U'\r', std::min(index, size()));
    return found == std::u32string::npos ? size() : found;
}

} // namespace flash::text
