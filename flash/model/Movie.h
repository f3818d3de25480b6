// A parsed movie: header, dictionary of definitions and the main timeline.
#pragma once

#include "flash/model/BitmapDef.h"
#include "flash/model/DisplayTags.h"
#include "flash/model/FontDef.h"
#include "flash/model/MorphShapeDef.h"
#include "flash/model/ShapeDef.h"
#include "flash/model/VideoDef.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace flash {

struct ButtonRecord {
    uint8_t states = 0; // bit 0 up, 1 over, 2 down, 3 hit test
    uint16_t characterId = 0;
    uint16_t depth = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    BlendMode blendMode = BlendMode::Normal;
    std::vector<Filter> filters;

    static constexpr uint8_t Up = 1, Over = 2, Down = 4, HitTest = 8;
};

struct ButtonCondAction {
    uint16_t conditions = 0; // condition flags and key code as stored
    std::vector<uint8_t> actions;
};

struct ButtonDef {
    uint16_t id = 0;
    uint8_t version = 1; // DefineButton 1 or 2
    bool trackAsMenu = false;
    std::vector<ButtonRecord> records;
    std::vector<ButtonCondAction> actions; // DefineButton: one entry, condition = release
    // DefineButtonSound: what plays on roll out, roll over, press and release (sound 0: nothing).
    enum SoundEvent { RollOutSound, RollOverSound, PressSound, ReleaseSound };
    std::array<StartSound, 4> sounds;
};

struct SpriteDef {
    uint16_t id = 0;
    uint16_t headerFrameCount = 0;
    Timeline timeline;
};

// Dynamic text field; parsed so that it can be placed, drawn by a later stage.
struct EditTextDef {
    uint16_t id = 0;
    Rect bounds;
    uint16_t fontId = 0;
    uint16_t fontHeight = 0;
    Rgba color;
    std::string variableName;
    std::string initialText;
    uint16_t maxLength = 0;            // 0: no limit
    // Paragraph layout, when the tag has it: align 0 left, 1 right, 2 centre, 3 justify; lengths in twips.
    uint8_t align = 0;
    uint16_t leftMargin = 0, rightMargin = 0, indent = 0;
    int16_t leading = 0;
    uint16_t flags = 0; // as stored, first byte high: 0x8000 has text, 0x4000 word wrap, 0x2000 multiline,
                        // 0x1000 password, 0x0800 read-only, 0x0040 auto size, 0x0010 no select, 0x0008 border, 0x0002 HTML, 0x0001 outlines
};

struct SoundDef {
    uint16_t id = 0;
    uint8_t format = 0, rate = 0;
    bool is16Bit = false, stereo = false;
    uint32_t sampleCount = 0;
    std::vector<uint8_t> data;
};

using Character = std::variant<std::shared_ptr<const ShapeDef>,
                               std::shared_ptr<const MorphShapeDef>,
                               std::shared_ptr<const BitmapDef>,
                               std::shared_ptr<const FontDef>,
                               std::shared_ptr<const TextDef>,
                               std::shared_ptr<const ButtonDef>,
                               std::shared_ptr<const SpriteDef>,
                               std::shared_ptr<const EditTextDef>,
                               std::shared_ptr<const SoundDef>,
                               std::shared_ptr<const VideoDef>>;

struct MovieHeader {
    char signature[4] = {'F', 'W', 'S', 0}; // FWS, CWS or ZWS
    uint8_t version = 0;
    uint32_t fileLength = 0;   // uncompressed length the header declares
    Rect stage;                // twips
    double frameRate = 0;      // frames per second as stored (0 allowed in files)
    uint16_t headerFrameCount = 0;
};

// A character id defined again after FreeCharacter freed it: the new definition
// holds from that frame of the main timeline on.
struct CharacterVersion {
    uint32_t fromFrame = 0;
    Character character;
};

struct Movie {
    MovieHeader header;
    Rgba backgroundColor{255, 255, 255, 255};
    std::map<uint16_t, Character> dictionary;          // each id's first definition
    std::map<uint16_t, std::vector<CharacterVersion>> laterVersions; // by frame, ascending
    Timeline timeline;
    std::vector<uint8_t> jpegTables;
    uint32_t fileAttributes = 0;                  // FileAttributes flags as stored (0x08: scripts are ActionScript 3)
    std::map<std::string, uint16_t> exports;      // ExportAssets: name -> character
    std::map<uint16_t, Rect> scalingGrids;        // DefineScalingGrid: character -> centre rect
    std::map<std::string, int> tagCounts;         // tag name -> how many the file holds (sprites included)
    std::vector<std::string> errors;              // recovered faults, one line each

    // The definition of `id` in force on `frame` of the main timeline; null when there is none.
    [[nodiscard]] const Character* characterAt(uint16_t id, uint32_t frame = 0) const
    {
        if (auto later = laterVersions.find(id); later != laterVersions.end()) {
            for (auto version = later->second.rbegin(); version != later->second.rend(); ++version) {
                if (version->fromFrame <= frame)
                    return &version->character;
            }
        }
        auto it = dictionary.find(id);
        return it == dictionary.end() ? nullptr : &it->second;
    }

    // ActionScript 3 movies keep their code in DoABC tags, which this player does not run.
    [[nodiscard]] bool usesActionScript3() const { return fileAttributes & 0x08; }

    template<typename T>
    [[nodiscard]] std::shared_ptr<const T> find(uint16_t id, uint32_t frame = 0) const
    {
        const Character* character = characterAt(id, frame);
        if (!character)
            return nullptr;
        if (auto p = std::get_if<std::shared_ptr<const T>>(character))
            return *p;
        return nullptr;
    }
};

} // namespace flash
