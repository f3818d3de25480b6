// The script side of a text field: its own members (text, htmlText, scroll...)
// answer first, then everything a display object has (_x, _name, _parent...).
#pragma once

#include "flash/scripting/ClipDelegate.h"

#include <array>
#include <optional>

namespace flash {

class TextFieldDelegate final : public ClipDelegate {
public:
    TextFieldDelegate(StageHost& host, DisplayObject& object);

    std::optional<script::Value> get(script::Interpreter& vm, script::Object& self, const script::String& name) override;
    script::Claim set(script::Interpreter& vm, script::Object& self, const script::String& name,
                      const script::Value& value) override;
    bool has(script::Interpreter& vm, script::Object& self, const script::String& name) override;

    // After a script changed the field: onScroller when its scrolling changed.
    void noteChange(script::Interpreter& vm, script::Object& self);

private:
    // The field itself while it is on stage (not another object at its path).
    [[nodiscard]] DisplayObject* ownField() const;
    // _width and _height size the field instead of scaling it.
    bool resize(script::Interpreter& vm, const script::String& name, const script::Value& value);

    StageHost& m_host;
    std::optional<std::array<int, 4>> m_scrolling; // scroll, maxscroll, hscroll, maxhscroll when last seen
};

} // namespace flash
