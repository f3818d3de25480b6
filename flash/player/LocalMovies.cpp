// A picture is kept encoded, as a DefineBitsJPEG2 bitmap is, and placed at
// depth 1 of its one frame; its size is read from its header alone.
#include "flash/player/LocalMovies.h"

#include "flash/parse/MovieLoader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <fstream>
#include <iterator>
#include <system_error>

namespace flash {

namespace {

constexpr uintmax_t kMaxFileBytes = 256u * 1024 * 1024;

bool startsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> magic)
{
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

bool isPicture(const std::vector<uint8_t>& bytes)
{
    return startsWith(bytes, {0xFF, 0xD8}) || startsWith(bytes, {0x89, 'P', 'N', 'G'}) || startsWith(bytes, {'G', 'I', 'F', '8'});
}

std::shared_ptr<const Movie> pictureMovie(std::vector<uint8_t> bytes, uint8_t version, double frameRate)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > 0xFFFF || size.height() > 0xFFFF)
        return nullptr;
    auto bitmap = std::make_shared<BitmapDef>();
    bitmap->id = 1;
    bitmap->encoding = BitmapEncoding::Image;
    bitmap->width = uint16_t(size.width());
    bitmap->height = uint16_t(size.height());
    bitmap->data = std::move(bytes);
    auto movie = std::make_shared<Movie>();
    movie->header.version = version;
    movie->header.frameRate = frameRate;
    movie->header.fileLength = uint32_t(std::min<size_t>(bitmap->data.size(), UINT32_MAX));
    movie->header.stage = Rect{0, int32_t(size.width() * kTwipsPerPixel), 0, int32_t(size.height() * kTwipsPerPixel)};
    movie->dictionary[1] = std::shared_ptr<const BitmapDef>(std::move(bitmap));
    PlaceObject place;
    place.depth = 1;
    place.characterId = 1;
    Frame frame;
    frame.tags.emplace_back(std::move(place));
    movie->timeline.frames.push_back(std::move(frame));
    return movie;
}

} // namespace

std::shared_ptr<const Movie> readLocalMovie(const std::filesystem::path& path, uint8_t version, double frameRate)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kMaxFileBytes)
        return nullptr;
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (isPicture(bytes))
        return pictureMovie(std::move(bytes), version, frameRate);
    auto movie = loadMovie(bytes);
    return movie ? std::move(*movie) : nullptr;
}

} // namespace flash
