// What the stage keeps of a text field's live state. The text engine makes it
// (the stage knows neither fonts nor layout); the stage owns it with the field's
// display object and asks it only for the field's current rectangle.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/model/Movie.h"

#include <functional>
#include <memory>

namespace flash {

class EditTextState {
public:
    virtual ~EditTextState() = default;
    // The field's rectangle in its own space, twips, as auto-sizing and scripts left it.
    [[nodiscard]] virtual Rect bounds() const = 0;
    // Counts changes to what the field shows (its text, layout, scrolling).
    [[nodiscard]] virtual uint64_t revision() const = 0;
};

// Makes the live state of a field placed with `def`.
using EditTextMaker = std::function<std::unique_ptr<EditTextState>(const std::shared_ptr<const Movie>& movie,
                                                                    const std::shared_ptr<const EditTextDef>& def)>;

} // namespace flash
