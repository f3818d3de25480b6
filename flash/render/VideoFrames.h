// Decoded frames of a movie's embedded video streams, kept within a byte budget;
// one decoder per stream finds frames that fell out of the budget again.
#pragma once

#include "flash/media/VideoStream.h"
#include "flash/model/VideoDef.h"
#include "flash/render/LruCache.h"

#include <QImage>
#include <map>
#include <memory>

namespace flash {

class VideoFrames {
public:
    explicit VideoFrames(size_t byteBudget = 64u * 1024 * 1024) : m_pictures(byteBudget) {}
    ~VideoFrames();

    // The picture `video` shows at `frame` (premultiplied ARGB); null before its first frame.
    [[nodiscard]] QImage frame(const std::shared_ptr<const VideoDef>& video, uint16_t frame);
    void clear();

private:
    struct Key {
        const VideoDef* video = nullptr;
        uint16_t frame = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };

    [[nodiscard]] VideoStream& streamOf(const std::shared_ptr<const VideoDef>& video);

    std::map<const VideoDef*, std::unique_ptr<VideoStream>> m_streams; // each keeps its definition alive
    LruCache<Key, QImage, KeyHash> m_pictures;
};

} // namespace flash
