// The cache of decoded video frames, keyed by stream and the frame whose payload shows.
#include "flash/render/VideoFrames.h"

#include <functional>

namespace flash {

namespace {

// Wraps the picture's pixels without copying them; the image owns the picture.
QImage toImage(VideoPicture picture)
{
    if (picture.isEmpty())
        return {};
    auto* owned = new VideoPicture(std::move(picture));
    return QImage(reinterpret_cast<const uchar*>(owned->pixels.data()), owned->width, owned->height,
                  owned->width * 4, QImage::Format_ARGB32_Premultiplied,
                  [](void* p) { delete static_cast<VideoPicture*>(p); }, owned);
}

} // namespace

VideoFrames::~VideoFrames() = default;

size_t VideoFrames::KeyHash::operator()(const Key& k) const
{
    return std::hash<const void*>()(k.video) ^ (size_t(k.frame) * 0x9e3779b97f4a7c15ull);
}

QImage VideoFrames::frame(const std::shared_ptr<const VideoDef>& video, uint16_t frame)
{
    if (!video)
        return {};
    const auto* shown = video->frameAt(frame);
    if (!shown)
        return {};
    const Key key{video.get(), shown->first};
    if (auto cached = m_pictures.find(key))
        return *cached;
    auto image = std::make_shared<const QImage>(toImage(streamOf(video).picture(shown->first)));
    m_pictures.insert(key, image, size_t(image->sizeInBytes()) + 64);
    return *image;
}

VideoStream& VideoFrames::streamOf(const std::shared_ptr<const VideoDef>& video)
{
    auto& stream = m_streams[video.get()];
    if (!stream)
        stream = std::make_unique<VideoStream>(video);
    return *stream;
}

void VideoFrames::clear()
{
    m_pictures.clear();
    m_streams.clear();
}

} // namespace flash
