// Writes a whole movie: header, dictionary definitions and the main timeline.
#include "SwfWriter.h"

#include "TagCodes.h"

#include <cmath>
#include <stdexcept>

namespace swfw {

namespace {

uint16_t shapeTagCode(int version)
{
    constexpr uint16_t codes[] = {tag::DefineShape, tag::DefineShape2, tag::DefineShape3, tag::DefineShape4};
    if (version < 1 || version > 4)
        throw std::invalid_argument("DefineShape version is 1 to 4");
    return codes[version - 1];
}

std::vector<uint8_t> withId(uint16_t id, std::span<const uint8_t> data)
{
    BitWriter w;
    w.u16(id);
    w.bytes(data);
    return w.take();
}

} // namespace

SwfWriter::SwfWriter(uint8_t version, double stageWidthPx, double stageHeightPx, double frameRate)
    : m_version(version), m_stage(TwipsRect::fromPixels(0, 0, stageWidthPx, stageHeightPx)), m_frameRate(frameRate),
      m_main(version)
{
    if (frameRate < 0 || frameRate >= 256)
        throw std::invalid_argument("frame rate out of range");
    if (version >= 8) {
        // Movies from version 8 on open with their attributes; all flags off means an AS1/2 movie.
        const uint8_t flags[4] = {0, 0, 0, 0};
        m_main.appendTag(tag::FileAttributes, flags);
    }
}

SwfWriter& SwfWriter::background(Color c)
{
    const uint8_t rgb[3] = {c.r, c.g, c.b};
    m_main.appendTag(tag::SetBackgroundColor, rgb);
    return *this;
}

uint16_t SwfWriter::nextId()
{
    if (m_lastId == 0xFFFF)
        throw std::length_error("out of character ids");
    return ++m_lastId;
}

uint16_t SwfWriter::defineShape(const ShapeBuilder& shape, int version, FillRule rule)
{
    const uint16_t id = nextId();
    m_main.appendTag(shapeTagCode(version), shapeBody(id, shape, version, rule));
    return id;
}

uint16_t SwfWriter::defineMorphShape(const ShapeBuilder& start, const ShapeBuilder& end, int version)
{
    const uint16_t id = nextId();
    m_main.appendTag(version == 2 ? tag::DefineMorphShape2 : tag::DefineMorphShape,
                     morphShapeBody(id, start, end, version));
    return id;
}

uint16_t SwfWriter::defineSprite(const Timeline& timeline)
{
    if (timeline.swfVersion() != 0 && timeline.swfVersion() != m_version)
        throw std::invalid_argument("the sprite's timeline was made for another SWF version");
    const uint16_t id = nextId();
    BitWriter w;
    w.u16(id);
    w.u16(timeline.frameCount());
    w.bytes(timeline.tags());
    auto body = w.take();
    appendTag(body, tag::End, {});
    m_main.appendTag(tag::DefineSprite, body);
    return id;
}

uint16_t SwfWriter::defineButton(const ButtonBuilder& button, int version)
{
    const uint16_t id = nextId();
    m_main.appendTag(version == 2 ? tag::DefineButton2 : tag::DefineButton, button.body(id, version));
    return id;
}

uint16_t SwfWriter::defineFont(const FontBuilder& font, FontVersion version, int infoVersion)
{
    const uint16_t id = nextId();
    constexpr uint16_t codes[] = {tag::DefineFont, tag::DefineFont2, tag::DefineFont3};
    m_main.appendTag(codes[static_cast<int>(version) - 1], fontBody(id, font, version));
    if (version == FontVersion::V1)
        m_main.appendTag(infoVersion == 2 ? tag::DefineFontInfo2 : tag::DefineFontInfo, fontInfoBody(id, font, infoVersion));
    m_fonts.emplace(id, font);
    return id;
}

uint16_t SwfWriter::defineText(const std::vector<TextRun>& runs, int version, const Matrix& textMatrix)
{
    const uint16_t id = nextId();
    m_main.appendTag(version == 2 ? tag::DefineText2 : tag::DefineText, textBody(id, runs, m_fonts, version, textMatrix));
    return id;
}

uint16_t SwfWriter::defineBitmapTag(uint16_t code, const std::vector<uint8_t>& body)
{
    // Bitmap tags always get the long header, which some readers expect of them.
    m_main.appendTag(code, body, TagHeader::Long);
    return static_cast<uint16_t>(body[0] | body[1] << 8);
}

uint16_t SwfWriter::defineBitsLossless(const QImage& image, LosslessFormat format)
{
    return defineBitmapTag(tag::DefineBitsLossless, losslessBody(nextId(), image, format, AlphaChannel::Without));
}

uint16_t SwfWriter::defineBitsLossless2(const QImage& image, LosslessFormat format)
{
    return defineBitmapTag(tag::DefineBitsLossless2, losslessBody(nextId(), image, format, AlphaChannel::With));
}

uint16_t SwfWriter::defineBitsJpegWithTables(const QImage& image, int quality)
{
    const SplitJpeg split = splitJpegTables(jpegBytes(image, quality));
    if (!m_jpegTables) {
        m_jpegTables = split.tables;
        m_main.appendTag(tag::JpegTables, split.tables, TagHeader::Long);
    } else if (*m_jpegTables != split.tables) {
        throw std::invalid_argument("all DefineBits images of a movie share one set of tables");
    }
    return defineBitmapTag(tag::DefineBits, withId(nextId(), split.image));
}

uint16_t SwfWriter::defineBitsJpeg2(const QImage& image, int quality, JpegQuirk quirk)
{
    std::vector<uint8_t> data;
    if (quirk == JpegQuirk::LeadingEoiSoi)
        data = {0xFF, 0xD9, 0xFF, 0xD8};
    const auto jpeg = jpegBytes(image, quality);
    data.insert(data.end(), jpeg.begin(), jpeg.end());
    return defineBitmapTag(tag::DefineBitsJpeg2, withId(nextId(), data));
}

uint16_t SwfWriter::defineBitsPng(const QImage& image)
{
    return defineBitmapTag(tag::DefineBitsJpeg2, withId(nextId(), pngBytes(image)));
}

uint16_t SwfWriter::defineBitsGif(const QImage& image)
{
    return defineBitmapTag(tag::DefineBitsJpeg2, withId(nextId(), gifBytes(image)));
}

uint16_t SwfWriter::defineBitsJpeg3(const QImage& image, int quality)
{
    const auto jpeg = jpegBytes(image, quality);
    BitWriter w;
    w.u16(nextId());
    w.u32(static_cast<uint32_t>(jpeg.size()));
    w.bytes(jpeg);
    w.bytes(alphaPlane(image));
    return defineBitmapTag(tag::DefineBitsJpeg3, w.data());
}

uint16_t SwfWriter::defineBitsJpeg4(const QImage& image, int quality, double deblocking)
{
    const auto jpeg = jpegBytes(image, quality);
    BitWriter w;
    w.u16(nextId());
    w.u32(static_cast<uint32_t>(jpeg.size()));
    w.u16(static_cast<uint16_t>(std::lround(deblocking * 256))); // 8.8 fixed point
    w.bytes(jpeg);
    w.bytes(alphaPlane(image));
    return defineBitmapTag(tag::DefineBitsJpeg4, w.data());
}

SwfWriter& SwfWriter::place(uint16_t depth, uint16_t characterId, const Matrix& matrix)
{
    m_main.place(depth, characterId, matrix);
    return *this;
}

SwfWriter& SwfWriter::place(const Placement& p)
{
    m_main.place(p);
    return *this;
}

SwfWriter& SwfWriter::move(uint16_t depth, const Matrix& matrix)
{
    m_main.move(depth, matrix);
    return *this;
}

SwfWriter& SwfWriter::remove(uint16_t depth)
{
    m_main.remove(depth);
    return *this;
}

SwfWriter& SwfWriter::label(const std::string& name)
{
    m_main.label(name);
    return *this;
}

SwfWriter& SwfWriter::actions(const Actions& actions)
{
    m_main.actions(actions);
    return *this;
}

SwfWriter& SwfWriter::actions(std::span<const uint8_t> block)
{
    m_main.actions(block);
    return *this;
}

SwfWriter& SwfWriter::initActions(uint16_t spriteId, const Actions& actions)
{
    m_main.initActions(spriteId, actions);
    return *this;
}

SwfWriter& SwfWriter::initActions(uint16_t spriteId, std::span<const uint8_t> block)
{
    m_main.initActions(spriteId, block);
    return *this;
}

SwfWriter& SwfWriter::exportAssets(const std::vector<std::pair<uint16_t, std::string>>& names)
{
    if (names.size() > 0xFFFF)
        throw std::length_error("too many exports for one tag");
    BitWriter w;
    w.u16(static_cast<uint16_t>(names.size()));
    for (const auto& [id, name] : names) {
        w.u16(id);
        w.string(name);
    }
    m_main.appendTag(tag::ExportAssets, w.data());
    return *this;
}

SwfWriter& SwfWriter::showFrame()
{
    m_main.showFrame();
    return *this;
}

SwfWriter& SwfWriter::setHeaderFrameCount(uint16_t count)
{
    m_headerFrameCount = count;
    return *this;
}

std::vector<uint8_t> SwfWriter::finish(Compression compression) const
{
    BitWriter head;
    writeRect(head, m_stage);
    head.u16(static_cast<uint16_t>(std::lround(m_frameRate * 256.0))); // 8.8 fixed point
    head.u16(m_headerFrameCount.value_or(m_main.frameCount()));
    auto body = head.take();
    body.insert(body.end(), m_main.tags().begin(), m_main.tags().end());
    appendTag(body, tag::End, {});

    const size_t fileLength = 8 + body.size();
    if (fileLength > 0xFFFFFFFFu)
        throw std::length_error("movie too large");
    BitWriter out;
    const bool zlib = compression == Compression::Zlib;
    out.bytes(std::vector<uint8_t>{static_cast<uint8_t>(zlib ? 'C' : 'F'), 'W', 'S'});
    out.u8(m_version);
    out.u32(static_cast<uint32_t>(fileLength)); // the uncompressed length, header included
    out.bytes(zlib ? zlibCompress(body) : body);
    return out.take();
}

} // namespace swfw
