// The live state of one text field: its text and formats, its settings, its
// rectangle, scrolling and selection, and the layout derived from them (made
// again on demand after any change). Scripts, the renderer and input all work
// through it; it runs no script itself.
#pragma once

#include "flash/stage/EditTextState.h"
#include "flash/text/StyleSheet.h"
#include "flash/text/StyledText.h"
#include "flash/text/TextLayout.h"

#include <memory>
#include <optional>
#include <string>

namespace flash::text {

enum class AutoSize : uint8_t { None, Left, Center, Right };
enum class FieldType : uint8_t { Dynamic, Input };

struct FieldSettings {
    bool border = false;
    uint32_t borderColor = 0x000000;
    bool background = false;
    uint32_t backgroundColor = 0xFFFFFF;
    bool wordWrap = false;
    bool multiline = false;
    bool selectable = true;
    bool password = false;
    FieldType type = FieldType::Dynamic;
    bool html = false;
    bool embedFonts = false;
    bool condenseWhite = false;
    AutoSize autoSize = AutoSize::None;
    uint32_t maxChars = 0;               // 0: no limit
    std::optional<std::string> restrict; // none: every character may be typed
    std::string variable;                // the timeline variable the field shows, if any
    std::string antiAliasType = "normal";
};

struct Selection {
    size_t begin = 0, end = 0; // the caret is at `end`
};

class TextField final : public EditTextState {
public:
    TextField(std::shared_ptr<const EditTextDef> def, std::shared_ptr<FontLibrary> fonts);

    // A maker for the stage: every field of the movie shares one font library.
    [[nodiscard]] static EditTextMaker maker();

    // ---- Geometry ----
    [[nodiscard]] Rect bounds() const override;
    // Width and height in twips; the text is laid out again, never scaled.
    void setSize(double width, double height);

    // ---- Text ----
    [[nodiscard]] const StyledText& content() const { return m_content; }
    [[nodiscard]] size_t length() const { return m_content.size(); }
    [[nodiscard]] std::string text() const;
    void setText(std::string_view utf8);
    // The HTML as htmlText reads (plain text when the field is not an HTML field).
    [[nodiscard]] std::string htmlText() const;
    void setHtmlText(std::string_view html);
    void replaceText(size_t begin, size_t end, std::string_view utf8);

    // ---- Formats ----
    [[nodiscard]] TextFormat textFormat(size_t begin, size_t end) const { return m_content.commonFormat(begin, end); }
    void setTextFormat(size_t begin, size_t end, const TextFormat& format);
    [[nodiscard]] const TextFormat& newTextFormat() const { return m_newFormat; }
    void setNewTextFormat(const TextFormat& format);
    // textColor: every character and the new text format.
    void setTextColor(uint32_t rgb);
    void setStyleSheet(std::shared_ptr<const StyleSheet> sheet);
    [[nodiscard]] bool hasStyleSheet() const { return m_styleSheet != nullptr; }

    // ---- Settings ----
    [[nodiscard]] const FieldSettings& settings() const { return m_settings; }
    void setSettings(const FieldSettings& settings);

    // ---- Layout and scrolling (lines count from 1, hscroll in pixels) ----
    [[nodiscard]] const TextLayout& layout() const;
    [[nodiscard]] double textWidth() const { return layout().textWidth; }
    [[nodiscard]] double textHeight() const { return layout().textHeight; }
    [[nodiscard]] int scroll() const;
    void setScroll(double line);
    [[nodiscard]] int maxScroll() const;
    [[nodiscard]] int bottomScroll() const;
    [[nodiscard]] int hscroll() const;
    void setHScroll(double pixels);
    [[nodiscard]] int maxHScroll() const;

    // ---- Selection and editing (input comes through these) ----
    [[nodiscard]] Selection selection() const { return m_selection; }
    void setSelection(size_t begin, size_t end);
    [[nodiscard]] std::u32string selectedText() const;
    // replaceSel: the selection becomes `utf8` in the new text format; the caret follows it.
    void replaceSelection(std::string_view utf8);
    // Typing: what restrict, maxChars and multiline allow of `typed` replaces the selection.
    // False when nothing changed.
    bool type(std::u32string_view typed);
    // Backspace and Delete: the selection, else the character before or after the caret.
    bool deleteBackward();
    bool deleteForward();

    // Focus, as Selection gives it: a focused field shows its caret or selection.
    [[nodiscard]] bool isFocused() const { return m_focused; }
    void setFocused(bool focused) { m_focused = focused; }
    // The caret position nearest a point of the field, in its pixels as shown (scrolling applied).
    [[nodiscard]] size_t indexAt(double x, double y) const;
    // Where a caret before `index` shows, in the field's pixels; nothing when it is scrolled out of sight.
    struct CaretPlace {
        double x = 0, top = 0, bottom = 0;
    };
    [[nodiscard]] std::optional<CaretPlace> caretPlace(size_t index) const;
    // Moves the caret; with `extend` the selection's far end moves and its anchor stays.
    enum class CaretMove : uint8_t { Left, Right, LineStart, LineEnd, Up, Down, TextStart, TextEnd };
    void moveCaret(CaretMove move, bool extend);
    // Scrolls, by lines and pixels, so that the caret shows.
    void revealCaret();

    // The value of the bound variable the field last showed or wrote (variable binding).
    [[nodiscard]] const std::string& variableValueShown() const { return m_variableValueShown; }
    void setVariableValueShown(std::string value) { m_variableValueShown = std::move(value); }

    // Counts every change of text, format, settings or geometry (for caches and change events).
    [[nodiscard]] uint64_t revision() const override { return m_revision; }

private:
    void changed();
    void replaceChars(size_t begin, size_t end, std::u32string_view chars, const TextFormat& format);
    [[nodiscard]] double visibleHeight() const;
    [[nodiscard]] LayoutOptions layoutOptions() const;

    std::shared_ptr<const EditTextDef> m_def;
    std::shared_ptr<FontLibrary> m_fonts;
    Rect m_rect;
    StyledText m_content;
    TextFormat m_newFormat;
    FieldSettings m_settings;
    std::shared_ptr<const StyleSheet> m_styleSheet;
    std::optional<std::string> m_styledSource; // HTML as given, while a style sheet formats it
    int m_scroll = 1;
    double m_hscroll = 0;
    Selection m_selection;
    bool m_focused = false;
    uint64_t m_revision = 0;
    std::string m_variableValueShown;
    mutable std::optional<TextLayout> m_layout;
};

// The live field behind a display object, if it is one.
[[nodiscard]] TextField* textFieldOf(const std::unique_ptr<EditTextState>& state);

// Text as fields keep it: every kind of line end becomes '\r'.
[[nodiscard]] std::u32string normalizedLineEnds(std::string_view utf8);

} // namespace flash::text
