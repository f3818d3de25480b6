// The tag loop of a timeline and the table from tag code to handler.
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"
#include "flash/parse/TagStream.h"
#include "flash/parse/TimelineBuilder.h"

#include <array>

namespace flash {
namespace {

struct HandlerEntry {
    uint16_t code;
    TagHandler handler;
};

// Tags not listed here (metadata, protection, debugger, product info, script
// bytecode, unknown codes) are counted and skipped.
constexpr HandlerEntry kHandlers[] = {
    {TagCode::DefineShape, parseDefineShape},
    {TagCode::DefineShape2, parseDefineShape},
    {TagCode::DefineShape3, parseDefineShape},
    {TagCode::DefineShape4, parseDefineShape},
    {TagCode::DefineMorphShape, parseDefineMorphShape},
    {TagCode::DefineMorphShape2, parseDefineMorphShape},
    {TagCode::DefineBits, parseDefineBits},
    {TagCode::JPEGTables, parseJpegTables},
    {TagCode::DefineBitsJPEG2, parseDefineBitsJpeg},
    {TagCode::DefineBitsJPEG3, parseDefineBitsJpeg},
    {TagCode::DefineBitsJPEG4, parseDefineBitsJpeg},
    {TagCode::DefineBitsLossless, parseDefineBitsLossless},
    {TagCode::DefineBitsLossless2, parseDefineBitsLossless},
    {TagCode::DefineFont, parseDefineFont1},
    {TagCode::DefineFont2, parseDefineFont2},
    {TagCode::DefineFont3, parseDefineFont2},
    {TagCode::DefineFontInfo, parseDefineFontInfo},
    {TagCode::DefineFontInfo2, parseDefineFontInfo},
    {TagCode::DefineText, parseDefineText},
    {TagCode::DefineText2, parseDefineText},
    {TagCode::DefineEditText, parseDefineEditText},
    {TagCode::DefineButton, parseDefineButton},
    {TagCode::DefineButton2, parseDefineButton2},
    {TagCode::DefineButtonCxform, parseDefineButtonCxform},
    {TagCode::DefineButtonSound, parseDefineButtonSound},
    {TagCode::DefineSprite, parseDefineSprite},
    {TagCode::PlaceObject, parsePlaceObject},
    {TagCode::PlaceObject2, parsePlaceObject2},
    {TagCode::PlaceObject3, parsePlaceObject2},
    {TagCode::RemoveObject, parseRemoveObject},
    {TagCode::RemoveObject2, parseRemoveObject2},
    {TagCode::DoAction, parseDoAction},
    {TagCode::DoInitAction, parseDoInitAction},
    {TagCode::StartSound, parseStartSound},
    {TagCode::SoundStreamHead, parseSoundStreamHead},
    {TagCode::SoundStreamHead2, parseSoundStreamHead},
    {TagCode::SoundStreamBlock, parseSoundStreamBlock},
    {TagCode::FrameLabel, parseFrameLabel},
    {TagCode::SetBackgroundColor, parseSetBackgroundColor},
    {TagCode::FileAttributes, parseFileAttributes},
    {TagCode::DefineSceneAndFrameLabelData, parseSceneAndFrameLabelData},
    {TagCode::ExportAssets, parseExportAssets},
    {TagCode::DefineScalingGrid, parseDefineScalingGrid},
    {TagCode::DefineSound, parseDefineSound},
    {TagCode::FreeCharacter, parseFreeCharacter},
    {TagCode::DefineVideoStream, parseDefineVideoStream},
    {TagCode::VideoFrame, parseVideoFrame},
};

constexpr std::array<TagHandler, 1024> kHandlerTable = [] {
    std::array<TagHandler, 1024> table{};
    for (const auto& entry : kHandlers)
        table[entry.code] = entry.handler;
    return table;
}();

void runHandler(ParseContext& ctx, TimelineBuilder& timeline, RawTag& tag, TagHandler handler)
{
    TagContext t{ctx, timeline, tag.code, tag.offset, tag.body, {}};
    handler(t);
    if (!t.problem.empty())
        ctx.error(tag.code, tag.offset, t.problem);
    else if (t.body.failed())
        ctx.error(tag.code, tag.offset, "tag data ends early; tag skipped");
}

} // namespace

void walkTags(ParseContext& ctx, ByteReader& reader, Timeline& timeline)
{
    TimelineBuilder builder(timeline, ctx);
    TagStream stream(reader);
    bool sawEnd = false;
    while (!ctx.isExhausted()) {
        auto tag = stream.next();
        if (!tag)
            break;
        ctx.countTag(tag->code);
        if (tag->isTruncated)
            ctx.error(tag->code, tag->offset,
                      "declared length " + std::to_string(tag->declaredLength) + " runs past the end of its data ("
                          + std::to_string(tag->body.size()) + " bytes left)");
        if (tag->code == TagCode::End) {
            sawEnd = true;
            break;
        }
        if (tag->code == TagCode::ShowFrame) {
            if (!builder.showFrame()) {
                ctx.error(tag->code, tag->offset, "too many frames; the rest of the timeline is ignored");
                break;
            }
            if (ctx.spriteNesting == 0)
                ++ctx.mainTimelineFrame;
            continue;
        }
        if (auto handler = kHandlerTable[tag->code & 0x3ff])
            runHandler(ctx, builder, *tag, handler);
    }
    if (stream.endedInHeader())
        ctx.error("tag header cut off at offset " + std::to_string(reader.fileOffset()));
    // Sprites that simply run to the end of their tag are common and harmless.
    if (!sawEnd && !ctx.isExhausted() && ctx.spriteNesting == 0)
        ctx.error("timeline ends without an End tag at offset " + std::to_string(reader.fileOffset()));
    builder.finish();
}

} // namespace flash
