// One handler per tag kind; TagWalk.cpp maps tag codes to them.
#pragma once

#include "flash/parse/ParseContext.h"

namespace flash {

using TagHandler = void (*)(TagContext&);

// Reads the tags of one timeline (the movie's or a sprite's) up to End.
void walkTags(ParseContext& ctx, ByteReader& reader, Timeline& timeline);

// ShapeTags.cpp
void parseDefineShape(TagContext& t);
// MorphShapeTags.cpp
void parseDefineMorphShape(TagContext& t);
// BitmapTags.cpp
void parseDefineBits(TagContext& t);
void parseJpegTables(TagContext& t);
void parseDefineBitsJpeg(TagContext& t); // JPEG2/3/4
void parseDefineBitsLossless(TagContext& t);
// FontTags.cpp
void parseDefineFont1(TagContext& t);
void parseDefineFont2(TagContext& t); // and DefineFont3
void parseDefineFontInfo(TagContext& t);
// TextTags.cpp
void parseDefineText(TagContext& t);
void parseDefineEditText(TagContext& t);
// ButtonTags.cpp
void parseDefineButton(TagContext& t);
void parseDefineButton2(TagContext& t);
void parseDefineButtonCxform(TagContext& t);
// SpriteTags.cpp
void parseDefineSprite(TagContext& t);
// DisplayTags.cpp
void parsePlaceObject(TagContext& t);
void parsePlaceObject2(TagContext& t); // and PlaceObject3
void parseRemoveObject(TagContext& t);
void parseRemoveObject2(TagContext& t);
void parseDoAction(TagContext& t);
void parseDoInitAction(TagContext& t);
void parseStartSound(TagContext& t);
void parseSoundStreamHead(TagContext& t);
void parseDefineButtonSound(TagContext& t);
void parseSoundStreamBlock(TagContext& t);
void parseFrameLabel(TagContext& t);
// MovieTags.cpp
void parseSetBackgroundColor(TagContext& t);
void parseFileAttributes(TagContext& t);
void parseSceneAndFrameLabelData(TagContext& t);
void parseExportAssets(TagContext& t);
void parseDefineScalingGrid(TagContext& t);
void parseDefineSound(TagContext& t);
void parseFreeCharacter(TagContext& t);
// VideoTags.cpp
void parseDefineVideoStream(TagContext& t);
void parseVideoFrame(TagContext& t);

} // namespace flash
