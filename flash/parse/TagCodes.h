// Tag codes of the movie format and their usual names.
#pragma once

#include <cstdint>
#include <string>

namespace flash {

namespace TagCode {
enum : uint16_t {
    End = 0, ShowFrame = 1, DefineShape = 2, FreeCharacter = 3, PlaceObject = 4, RemoveObject = 5,
    DefineBits = 6, DefineButton = 7, JPEGTables = 8, SetBackgroundColor = 9, DefineFont = 10,
    DefineText = 11, DoAction = 12, DefineFontInfo = 13, DefineSound = 14, StartSound = 15,
    DefineButtonSound = 17, SoundStreamHead = 18, SoundStreamBlock = 19, DefineBitsLossless = 20,
    DefineBitsJPEG2 = 21, DefineShape2 = 22, DefineButtonCxform = 23, Protect = 24,
    PlaceObject2 = 26, RemoveObject2 = 28, DefineShape3 = 32, DefineText2 = 33, DefineButton2 = 34,
    DefineBitsJPEG3 = 35, DefineBitsLossless2 = 36, DefineEditText = 37, DefineSprite = 39,
    FrameLabel = 43, SoundStreamHead2 = 45, DefineMorphShape = 46, DefineFont2 = 48,
    ExportAssets = 56, DoInitAction = 59, DefineFontInfo2 = 62, FileAttributes = 69,
    PlaceObject3 = 70, DefineFont3 = 75, DefineScalingGrid = 78, DefineShape4 = 83,
    DefineMorphShape2 = 84, DefineSceneAndFrameLabelData = 86, DefineBitsJPEG4 = 90,
    DefineVideoStream = 60, VideoFrame = 61,
};
}

// "DefineShape", "PlaceObject2", ...; unknown codes read "Tag123".
[[nodiscard]] std::string tagName(uint16_t code);

} // namespace flash
