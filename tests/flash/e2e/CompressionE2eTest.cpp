// Compressed movies end to end: the same movie stored plain, with zlib and
// with LZMA loads with the same header and draws the same pixels.
#include "E2eSupport.h"

#include "flash/parse/MovieLoader.h"

#include <lzma.h>

using namespace e2e;

namespace {

enum class EndMarker { Written, Omitted };

// Re-packs a plain movie as ZWS: signature, version, uncompressed length,
// compressed length, five LZMA property bytes, then raw LZMA data, which
// writers end with or without an end-of-stream marker.
std::vector<uint8_t> toZws(const std::vector<uint8_t>& plain, EndMarker marker)
{
    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 6))
        throw std::runtime_error("lzma preset");
    const bool omitMarker = marker == EndMarker::Omitted;
    if (omitMarker) {
        options.ext_flags = 0; // the stream ends where the uncompressed size says
        options.ext_size_low = static_cast<uint32_t>(plain.size() - 8);
        options.ext_size_high = 0;
    }
    lzma_filter filters[] = {{omitMarker ? LZMA_FILTER_LZMA1EXT : LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    uint8_t properties[5];
    lzma_filter propertyFilter{LZMA_FILTER_LZMA1, &options};
    if (lzma_properties_encode(&propertyFilter, properties) != LZMA_OK)
        throw std::runtime_error("lzma properties");
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_raw_encoder(&stream, filters) != LZMA_OK)
        throw std::runtime_error("lzma encoder");
    std::vector<uint8_t> packed(plain.size() + plain.size() / 2 + 1024);
    stream.next_in = plain.data() + 8;
    stream.avail_in = plain.size() - 8;
    stream.next_out = packed.data();
    stream.avail_out = packed.size();
    const lzma_ret ret = lzma_code(&stream, LZMA_FINISH);
    const size_t packedSize = packed.size() - stream.avail_out;
    lzma_end(&stream);
    if (ret != LZMA_STREAM_END)
        throw std::runtime_error("lzma encoding");
    packed.resize(packedSize);

    std::vector<uint8_t> out{'Z', 'W', 'S', plain[3], plain[4], plain[5], plain[6], plain[7]};
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(packedSize >> (8 * i)));
    out.insert(out.end(), properties, properties + 5);
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

SwfWriter sampleMovie()
{
    SwfWriter w = newMovie(13, 25);
    Gradient g{{{0, Color::rgb(0xff0000)}, {255, Color::rgb(0x0000ff)}}};
    w.place(1, w.defineShape(ShapeBuilder().fill(FillStyle::linear(g, 0, 0, 100, 0)).rect(0, 0, 100, 60)));
    w.place(2, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x00ff00)).circle(50, 80, 15)));
    w.showFrame().showFrame().showFrame();
    return w;
}

} // namespace

TEST(CompressionE2e, PlainZlibAndLzmaMoviesLoadAndDrawAlike)
{
    const SwfWriter w = sampleMovie();
    const auto plain = w.finish(Compression::None);
    const std::pair<const char*, std::vector<uint8_t>> variants[] = {
        {"FWS", plain}, {"CWS", w.finish(Compression::Zlib)}, {"ZWS", toZws(plain, EndMarker::Written)},
        {"ZWS", toZws(plain, EndMarker::Omitted)}};
    QImage reference;
    for (const auto& [signature, bytes] : variants) {
        SCOPED_TRACE(signature);
        const auto movie = flash::loadMovie(bytes);
        ASSERT_TRUE(movie.has_value()) << movie.error().message;
        const auto& header = (*movie)->header;
        EXPECT_EQ(std::string(header.signature, 3), signature);
        EXPECT_EQ(header.version, 13);
        EXPECT_EQ(header.fileLength, plain.size());
        EXPECT_EQ(header.stage.width(), kStage * 20);
        EXPECT_DOUBLE_EQ(header.frameRate, 25);
        EXPECT_EQ((*movie)->timeline.frames.size(), 3u);
        EXPECT_TRUE((*movie)->errors.empty()) << (*movie)->errors.front();

        PlayedMovie played(bytes);
        ASSERT_TRUE(played.loaded()) << played.player().loadError();
        const QImage img = played.image();
        EXPECT_TRUE(colorNear(img, 50, 80, kGreen));
        if (reference.isNull())
            reference = img;
        else
            EXPECT_EQ(img, reference);
    }
}

TEST(CompressionE2e, TotalFramesCountsTheRealFramesWhateverTheHeaderSays)
{
    for (uint16_t claimed : {0, 3, 1000}) {
        SCOPED_TRACE(claimed);
        SwfWriter w = sampleMovie();
        w.setHeaderFrameCount(claimed);
        PlayedMovie played(w.finish(Compression::Zlib));
        ASSERT_TRUE(played.loaded());
        EXPECT_EQ(played.player().totalFrames(), 3);
    }
}
