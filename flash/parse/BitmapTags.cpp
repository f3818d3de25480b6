// Bitmap tags, kept encoded for the renderer: DefineBits with JPEGTables,
// DefineBitsJPEG2/3/4 and DefineBitsLossless 1/2.
#include "flash/parse/Primitives.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"

#include <memory>

namespace flash {
namespace {

void defineBitmap(TagContext& t, std::shared_ptr<BitmapDef> bitmap)
{
    if (!t.ok() || !t.ctx.charge(sizeof(BitmapDef) + bitmap->data.size() + bitmap->alphaData.size()))
        return;
    const uint16_t id = bitmap->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const BitmapDef>(std::move(bitmap)));
}

} // namespace

void parseDefineBits(TagContext& t)
{
    auto bitmap = std::make_shared<BitmapDef>();
    bitmap->id = t.body.u16();
    bitmap->encoding = BitmapEncoding::JpegWithTables;
    bitmap->data = copyBytes(t.body.rest());
    defineBitmap(t, std::move(bitmap));
}

void parseJpegTables(TagContext& t)
{
    auto& movie = t.ctx.movie();
    const auto data = t.body.rest();
    // Only the first non-empty tables count; some writers add an empty tag.
    if (!movie.jpegTables.empty() || data.empty())
        return;
    if (t.ctx.charge(data.size()))
        movie.jpegTables = copyBytes(data);
}

void parseDefineBitsJpeg(TagContext& t)
{
    auto& r = t.body;
    auto bitmap = std::make_shared<BitmapDef>();
    bitmap->id = r.u16();
    if (t.code == TagCode::DefineBitsJPEG2) {
        bitmap->encoding = BitmapEncoding::Image;
        bitmap->data = copyBytes(r.rest());
        return defineBitmap(t, std::move(bitmap));
    }
    bitmap->encoding = BitmapEncoding::ImageWithAlpha;
    const uint32_t alphaOffset = r.u32();
    if (t.code == TagCode::DefineBitsJPEG4)
        bitmap->deblocking = r.u16();
    if (r.failed())
        return;
    if (alphaOffset > r.remaining())
        return t.reject("image length " + std::to_string(alphaOffset) + " runs past the tag");
    bitmap->data = copyBytes(r.bytes(alphaOffset));
    bitmap->alphaData = copyBytes(r.rest());
    defineBitmap(t, std::move(bitmap));
}

void parseDefineBitsLossless(TagContext& t)
{
    auto& r = t.body;
    auto bitmap = std::make_shared<BitmapDef>();
    bitmap->encoding = t.code == TagCode::DefineBitsLossless2 ? BitmapEncoding::LosslessAlpha : BitmapEncoding::Lossless;
    bitmap->id = r.u16();
    bitmap->losslessFormat = r.u8();
    bitmap->width = r.u16();
    bitmap->height = r.u16();
    if (r.failed())
        return;
    if (bitmap->losslessFormat != 3 && bitmap->losslessFormat != 4 && bitmap->losslessFormat != 5)
        return t.reject("unknown lossless format " + std::to_string(bitmap->losslessFormat));
    if (bitmap->losslessFormat == 3)
        bitmap->colorTableSize = uint16_t(r.u8() + 1);
    bitmap->data = copyBytes(r.rest());
    defineBitmap(t, std::move(bitmap));
}

} // namespace flash
