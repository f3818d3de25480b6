// Tag codes the writer emits.
#pragma once

#include <cstdint>

namespace swfw::tag {

inline constexpr uint16_t End = 0;
inline constexpr uint16_t ShowFrame = 1;
inline constexpr uint16_t DefineShape = 2;
inline constexpr uint16_t PlaceObject = 4;
inline constexpr uint16_t RemoveObject = 5;
inline constexpr uint16_t DefineBits = 6;
inline constexpr uint16_t DefineButton = 7;
inline constexpr uint16_t JpegTables = 8;
inline constexpr uint16_t SetBackgroundColor = 9;
inline constexpr uint16_t DefineFont = 10;
inline constexpr uint16_t DefineText = 11;
inline constexpr uint16_t DoAction = 12;
inline constexpr uint16_t DefineFontInfo = 13;
inline constexpr uint16_t DefineBitsLossless = 20;
inline constexpr uint16_t DefineBitsJpeg2 = 21;
inline constexpr uint16_t DefineShape2 = 22;
inline constexpr uint16_t PlaceObject2 = 26;
inline constexpr uint16_t RemoveObject2 = 28;
inline constexpr uint16_t DefineShape3 = 32;
inline constexpr uint16_t DefineText2 = 33;
inline constexpr uint16_t DefineButton2 = 34;
inline constexpr uint16_t DefineBitsJpeg3 = 35;
inline constexpr uint16_t DefineBitsLossless2 = 36;
inline constexpr uint16_t DefineSprite = 39;
inline constexpr uint16_t FrameLabel = 43;
inline constexpr uint16_t DefineMorphShape = 46;
inline constexpr uint16_t DefineFont2 = 48;
inline constexpr uint16_t ExportAssets = 56;
inline constexpr uint16_t DoInitAction = 59;
inline constexpr uint16_t DefineFontInfo2 = 62;
inline constexpr uint16_t FileAttributes = 69;
inline constexpr uint16_t PlaceObject3 = 70;
inline constexpr uint16_t DefineFont3 = 75;
inline constexpr uint16_t DefineShape4 = 83;
inline constexpr uint16_t DefineMorphShape2 = 84;
inline constexpr uint16_t DefineBitsJpeg4 = 90;

} // namespace swfw::tag
