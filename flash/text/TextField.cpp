// A field's text, formats, settings and geometry; layout made on demand.
#include "flash/text/TextField.h"

#include "flash/text/HtmlText.h"
#include "flash/text/Utf.h"

#include <algorithm>
#include <cmath>

namespace flash::text {
namespace {

// DefineEditText flags as the model keeps them (first stored byte high).
namespace EditFlag {
constexpr uint16_t WordWrap = 0x4000, Multiline = 0x2000, Password = 0x1000, ReadOnly = 0x0800,
                   HasTextColor = 0x0400, HasFont = 0x0100, AutoSize = 0x0040, NoSelect = 0x0010,
                   Border = 0x0008, Html = 0x0002, UseOutlines = 0x0001;
}

constexpr double kMaxFieldTwips = 1e8;

TextFormat formatOf(const EditTextDef& def, const Movie& movie)
{
    TextFormat f = TextFormat::defaults();
    if (def.flags & EditFlag::HasFont) {
        if (const auto font = movie.find<FontDef>(def.fontId)) {
            if (!font->name.empty())
                f.font = font->name;
            f.bold = font->bold;
            f.italic = font->italic;
        }
        f.size = def.fontHeight / kTwipsPerPixel;
    }
    if (def.flags & EditFlag::HasTextColor)
        f.color = uint32_t(def.color.r) << 16 | uint32_t(def.color.g) << 8 | def.color.b;
    f.align = def.align == 1 ? TextAlign::Right : def.align == 2 ? TextAlign::Center
            : def.align == 3 ? TextAlign::Justify : TextAlign::Left;
    f.leftMargin = def.leftMargin / kTwipsPerPixel;
    f.rightMargin = def.rightMargin / kTwipsPerPixel;
    f.indent = def.indent / kTwipsPerPixel;
    f.leading = def.leading / kTwipsPerPixel;
    return f;
}

FieldSettings settingsOf(const EditTextDef& def)
{
    FieldSettings s;
    s.wordWrap = def.flags & EditFlag::WordWrap;
    s.multiline = def.flags & EditFlag::Multiline;
    s.password = def.flags & EditFlag::Password;
    s.type = def.flags & EditFlag::ReadOnly ? FieldType::Dynamic : FieldType::Input;
    s.autoSize = def.flags & EditFlag::AutoSize ? AutoSize::Left : AutoSize::None;
    s.selectable = !(def.flags & EditFlag::NoSelect);
    s.border = s.background = def.flags & EditFlag::Border;
    s.html = def.flags & EditFlag::Html;
    s.embedFonts = def.flags & EditFlag::UseOutlines;
    s.maxChars = def.maxLength;
    s.variable = def.variableName;
    return s;
}

int32_t toTwips(double pixels)
{
    return int32_t(std::lround(std::clamp(pixels * kTwipsPerPixel, -kMaxFieldTwips, kMaxFieldTwips)));
}

} // namespace

std::u32string normalizedLineEnds(std::string_view utf8)
{
    std::u32string chars = fromUtf8(utf8);
    size_t out = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == U'\n' && i > 0 && chars[i - 1] == U'\r')
            continue;
        chars[out++] = chars[i] == U'\n' ? U'\r' : chars[i];
    }
    chars.resize(out);
    return chars;
}

TextField* textFieldOf(const std::unique_ptr<EditTextState>& state)
{
    return dynamic_cast<TextField*>(state.get());
}

EditTextMaker TextField::maker()
{
    // Each movie's fields share that movie's font library.
    auto libraries = std::make_shared<std::map<const Movie*, std::shared_ptr<FontLibrary>>>();
    return [libraries](const std::shared_ptr<const Movie>& movie,
                       const std::shared_ptr<const EditTextDef>& def) -> std::unique_ptr<EditTextState> {
        std::shared_ptr<FontLibrary>& fonts = (*libraries)[movie.get()];
        if (!fonts)
            fonts = std::make_shared<FontLibrary>(movie);
        return std::make_unique<TextField>(def, fonts);
    };
}

TextField::TextField(std::shared_ptr<const EditTextDef> def, std::shared_ptr<FontLibrary> fonts)
    : m_def(def ? std::move(def) : std::make_shared<const EditTextDef>())
    , m_fonts(std::move(fonts))
    , m_rect(m_def->bounds)
    , m_newFormat(formatOf(*m_def, m_fonts->movie()))
    , m_settings(settingsOf(*m_def))
{
    if (m_settings.html)
        setHtmlText(m_def->initialText);
    else
        setText(m_def->initialText);
}

// ---- Geometry ----

Rect TextField::bounds() const
{
    if (m_settings.autoSize == AutoSize::None)
        return m_rect;
    const TextLayout& l = layout();
    Rect r = m_rect;
    r.yMax = r.yMin + toTwips(l.textHeight + 2 * kGutter);
    if (!m_settings.wordWrap) {
        const TextFormat* first = m_content.formatAt(0);
        const TextFormat& f = first ? *first : m_newFormat;
        const int32_t width = toTwips(l.textWidth + 2 * kGutter + f.leftMargin.value_or(0) + f.rightMargin.value_or(0)
                                      + f.blockIndent.value_or(0) + std::max(0.0, f.indent.value_or(0)));
        if (m_settings.autoSize == AutoSize::Left) {
            r.xMax = r.xMin + width;
        } else if (m_settings.autoSize == AutoSize::Right) {
            r.xMin = r.xMax - width;
        } else {
            const int32_t middle = int32_t((int64_t(m_rect.xMin) + m_rect.xMax) / 2);
            r.xMin = middle - width / 2;
            r.xMax = r.xMin + width;
        }
    }
    return r;
}

void TextField::setSize(double width, double height)
{
    if (!std::isfinite(width) || !std::isfinite(height))
        return;
    m_rect = bounds();
    m_rect.xMax = m_rect.xMin + int32_t(std::clamp(std::round(width), 0.0, kMaxFieldTwips));
    m_rect.yMax = m_rect.yMin + int32_t(std::clamp(std::round(height), 0.0, kMaxFieldTwips));
    changed();
}

// ---- Text ----

void TextField::changed()
{
    ++m_revision;
    m_layout.reset();
    m_selection.begin = std::min(m_selection.begin, m_content.size());
    m_selection.end = std::min(m_selection.end, m_content.size());
}

void TextField::replaceChars(size_t begin, size_t end, std::u32string_view chars, const TextFormat& format)
{
    m_content.replace(begin, end, chars, format);
    m_styledSource.reset();
    changed();
}

std::string TextField::text() const
{
    return toUtf8(m_content.text());
}

void TextField::setText(std::string_view utf8)
{
    const std::u32string chars = normalizedLineEnds(utf8);
    replaceChars(0, m_content.size(), chars, m_newFormat);
}

std::string TextField::htmlText() const
{
    if (!m_settings.html)
        return text();
    if (m_styledSource)
        return *m_styledSource;
    return writeHtml(m_content, m_newFormat);
}

void TextField::setHtmlText(std::string_view html)
{
    if (!m_settings.html) {
        setText(html);
        return;
    }
    HtmlOptions options;
    options.styles = m_styleSheet.get();
    options.condenseWhite = m_settings.condenseWhite;
    m_content = parseHtml(html, m_newFormat, options);
    m_styledSource.reset();
    if (m_styleSheet)
        m_styledSource = std::string(html);
    changed();
}

void TextField::replaceText(size_t begin, size_t end, std::string_view utf8)
{
    if (begin > end || begin > m_content.size())
        return;
    replaceChars(begin, end, normalizedLineEnds(utf8), m_newFormat);
}

// ---- Formats ----

void TextField::setTextFormat(size_t begin, size_t end, const TextFormat& format)
{
    // A field formatted by a style sheet keeps its styles.
    if (m_styleSheet)
        return;
    m_content.applyFormat(begin, end, format);
    changed();
}

void TextField::setNewTextFormat(const TextFormat& format)
{
    m_newFormat.mergeFrom(format);
    changed();
}

void TextField::setTextColor(uint32_t rgb)
{
    TextFormat color;
    color.color = rgb & 0xFFFFFF;
    m_newFormat.mergeFrom(color);
    m_content.applyFormat(0, m_content.size(), color);
    changed();
}

void TextField::setStyleSheet(std::shared_ptr<const StyleSheet> sheet)
{
    m_styleSheet = std::move(sheet);
    m_styledSource.reset();
    changed();
}

// ---- Settings ----

void TextField::setSettings(const FieldSettings& settings)
{
    // A field that stops sizing itself keeps the size it had.
    if (settings.autoSize != m_settings.autoSize)
        m_rect = bounds();
    m_settings = settings;
    changed();
}

// ---- Layout and scrolling ----

LayoutOptions TextField::layoutOptions() const
{
    LayoutOptions options;
    options.width = m_rect.width() / kTwipsPerPixel;
    options.wordWrap = m_settings.wordWrap;
    options.embedFonts = m_settings.embedFonts;
    options.password = m_settings.password;
    options.alignToText = m_settings.autoSize != AutoSize::None && !m_settings.wordWrap;
    return options;
}

const TextLayout& TextField::layout() const
{
    if (!m_layout)
        m_layout = layOutText(m_content, m_newFormat, layoutOptions(), *m_fonts);
    return *m_layout;
}

double TextField::visibleHeight() const
{
    return bounds().height() / kTwipsPerPixel - 2 * kGutter;
}

int TextField::maxScroll() const
{
    const auto& lines = layout().lines;
    const double room = visibleHeight();
    size_t first = lines.size();
    // The first line from which every line to the end still fits.
    while (first > 1 && lines.back().bottom() - lines[first - 2].top <= room + 0.01)
        --first;
    return int(std::max<size_t>(first, 1));
}

int TextField::scroll() const
{
    return std::clamp(m_scroll, 1, maxScroll());
}

void TextField::setScroll(double line)
{
    if (!std::isfinite(line))
        return;
    const int wanted = int(std::clamp(std::floor(line), 1.0, 1e9));
    if (wanted == m_scroll)
        return;
    m_scroll = std::clamp(wanted, 1, maxScroll());
    ++m_revision;
}

int TextField::bottomScroll() const
{
    const auto& lines = layout().lines;
    const size_t top = size_t(scroll()) - 1;
    if (top >= lines.size())
        return scroll();
    const double room = visibleHeight();
    size_t last = top;
    while (last + 1 < lines.size() && lines[last + 1].bottom() - lines[top].top <= room + 0.01)
        ++last;
    return int(last + 1);
}

int TextField::maxHScroll() const
{
    if (m_settings.wordWrap)
        return 0;
    const double room = bounds().width() / kTwipsPerPixel - 2 * kGutter;
    return int(std::max(0.0, std::ceil(layout().textWidth - room)));
}

int TextField::hscroll() const
{
    return std::clamp(int(m_hscroll), 0, maxHScroll());
}

void TextField::setHScroll(double pixels)
{
    if (!std::isfinite(pixels))
        return;
    const double wanted = std::clamp(std::floor(pixels), 0.0, double(maxHScroll()));
    if (wanted == m_hscroll)
        return;
    m_hscroll = wanted;
    ++m_revision;
}

} // namespace flash::text
