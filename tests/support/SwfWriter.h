// Writes a whole movie: header, dictionary definitions and the main timeline.
//
//   SwfWriter w(10, 200, 100, 24);
//   auto id = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000)).rect(10, 10, 50, 30));
//   w.place(1, id).showFrame();
//   std::vector<uint8_t> bytes = w.finish(Compression::Zlib);
//
// Geometry is given in pixels and stored in twips (20 per pixel).
#pragma once

#include "Actions.h"
#include "BitmapEncoding.h"
#include "DefinitionTags.h"
#include "FontBuilder.h"
#include "ShapeBuilder.h"
#include "SwfTypes.h"
#include "Timeline.h"

#include <QImage>

#include <map>
#include <optional>
#include <vector>

namespace swfw {

enum class Compression { None, Zlib };

class SwfWriter {
public:
    SwfWriter(uint8_t version, double stageWidthPx, double stageHeightPx, double frameRate);

    SwfWriter& background(Color c);

    // Definitions; each returns the new character id.
    uint16_t defineShape(const ShapeBuilder& shape, int version = 3, FillRule rule = FillRule::EvenOdd);
    uint16_t defineMorphShape(const ShapeBuilder& start, const ShapeBuilder& end, int version = 1);
    // A sprite timeline with clip actions must be made with the movie's version: Timeline(version()).
    uint16_t defineSprite(const Timeline& timeline);
    uint16_t defineButton(const ButtonBuilder& button, int version = 2);
    // DefineFont (V1) is followed by DefineFontInfo of `infoVersion` 1 or 2, which names its characters.
    uint16_t defineFont(const FontBuilder& font, FontVersion version = FontVersion::V2, int infoVersion = 1);
    uint16_t defineText(const std::vector<TextRun>& runs, int version = 1, const Matrix& textMatrix = {});

    // Bitmaps. DefineBitsLossless (no alpha) and DefineBitsLossless2 (premultiplied alpha).
    uint16_t defineBitsLossless(const QImage& image, LosslessFormat format = LosslessFormat::Rgb32);
    uint16_t defineBitsLossless2(const QImage& image, LosslessFormat format = LosslessFormat::Rgb32);
    // DefineBits: the movie's one JPEGTables tag is written with the first such bitmap.
    uint16_t defineBitsJpegWithTables(const QImage& image, int quality = 90);
    enum class JpegQuirk { None, LeadingEoiSoi }; // old files start the data with FF D9 FF D8
    uint16_t defineBitsJpeg2(const QImage& image, int quality = 90, JpegQuirk quirk = JpegQuirk::None);
    uint16_t defineBitsPng(const QImage& image); // DefineBitsJPEG2 holding a PNG
    uint16_t defineBitsGif(const QImage& image); // DefineBitsJPEG2 holding a GIF (at most 256 colours)
    uint16_t defineBitsJpeg3(const QImage& image, int quality = 90); // JPEG colours plus the image's alpha
    uint16_t defineBitsJpeg4(const QImage& image, int quality = 90, double deblocking = 0); // JPEG3 with a deblocking strength

    // The main timeline.
    [[nodiscard]] Timeline& timeline() { return m_main; }
    SwfWriter& place(uint16_t depth, uint16_t characterId, const Matrix& matrix = {});
    SwfWriter& place(const Placement& p);
    SwfWriter& move(uint16_t depth, const Matrix& matrix);
    SwfWriter& remove(uint16_t depth);
    SwfWriter& label(const std::string& name);
    SwfWriter& actions(const Actions& actions);
    SwfWriter& actions(std::span<const uint8_t> block); // a finished block, End included
    SwfWriter& initActions(uint16_t spriteId, const Actions& actions);
    SwfWriter& initActions(uint16_t spriteId, std::span<const uint8_t> block);
    // ExportAssets: each character under its linkage name.
    SwfWriter& exportAssets(const std::vector<std::pair<uint16_t, std::string>>& names);
    SwfWriter& showFrame();

    [[nodiscard]] uint8_t version() const { return m_version; }

    // Makes the header claim a frame count other than the real one.
    SwfWriter& setHeaderFrameCount(uint16_t count);

    // The finished file; the End tag is added here.
    [[nodiscard]] std::vector<uint8_t> finish(Compression compression = Compression::None) const;

private:
    uint16_t nextId();
    uint16_t defineBitmapTag(uint16_t code, const std::vector<uint8_t>& body);

    uint8_t m_version;
    TwipsRect m_stage;
    double m_frameRate;
    Timeline m_main;
    uint16_t m_lastId = 0;
    std::map<uint16_t, FontBuilder> m_fonts;
    std::optional<std::vector<uint8_t>> m_jpegTables;
    std::optional<uint16_t> m_headerFrameCount;
};

} // namespace swfw
