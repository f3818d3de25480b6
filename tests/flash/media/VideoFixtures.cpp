// ffmpeg runs, FLV reading and the movie writer for the video tests.
#include "VideoFixtures.h"

#include "SwfWriter.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>

namespace flash::test {

bool hasFfmpeg()
{
    return !QStandardPaths::findExecutable("ffmpeg").isEmpty();
}

bool runFfmpeg(const QStringList& arguments)
{
    QProcess process;
    process.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + arguments);
    return process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

std::vector<QImage> referenceFrames(const QString& path, int width, int height)
{
    const QString raw = path + ".rgb";
    if (!runFfmpeg({"-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", raw}))
        return {};
    QFile file(raw);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const qsizetype frameBytes = qsizetype(width) * height * 3;
    std::vector<QImage> frames;
    for (qsizetype at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
        QImage frame(reinterpret_cast<const uchar*>(bytes.constData() + at), width, height, width * 3,
                     QImage::Format_RGB888);
        frames.push_back(frame.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    return frames;
}

std::vector<std::vector<uint8_t>> flvVideoPayloads(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    auto byte = [&data](qsizetype i) { return uint32_t(uint8_t(data[i])); };
    auto be = [&byte](qsizetype at, int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = v << 8 | byte(at + i);
        return v;
    };
    std::vector<std::vector<uint8_t>> payloads;
    if (data.size() < 9)
        return payloads;
    // Header, then tags of 11 header bytes, each followed by its 4-byte length.
    for (qsizetype at = qsizetype(be(5, 4)) + 4; at + 11 <= data.size();) {
        const uint32_t type = byte(at), size = be(at + 1, 3);
        const qsizetype body = at + 11;
        if (body + qsizetype(size) > data.size())
            break;
        if (type == 9 && size > 1)
            payloads.emplace_back(data.begin() + body + 1, data.begin() + body + size);
        at = body + size + 4;
    }
    return payloads;
}

namespace {

void le16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

} // namespace

std::vector<uint8_t> videoStreamBody(uint16_t id, uint16_t frameCount, int width, int height, uint8_t codec)
{
    std::vector<uint8_t> body;
    body.reserve(10); // reserved up front: g++ 12 warns, wrongly, of overruns when the first bytes grow it
    for (uint16_t v : {id, frameCount, uint16_t(width), uint16_t(height)})
        le16(body, v);
    body.push_back(0); // no deblocking or smoothing flags
    body.push_back(codec);
    return body;
}

std::vector<uint8_t> videoFrameBody(uint16_t id, uint16_t frame, std::span<const uint8_t> payload)
{
    std::vector<uint8_t> body;
    body.reserve(4 + payload.size()); // as above
    le16(body, id);
    le16(body, frame);
    body.insert(body.end(), payload.begin(), payload.end());
    return body;
}

std::vector<uint8_t> videoMovie(uint8_t codec, int width, int height, const std::vector<std::vector<uint8_t>>& payloads)
{
    swfw::SwfWriter w(8, width, height, 10);
    const uint16_t id = 1;
    const uint16_t count = uint16_t(payloads.size());
    w.timeline().appendTag(60, videoStreamBody(id, count, width, height, codec));
    for (uint16_t n = 0; n < count; ++n) {
        w.timeline().appendTag(61, videoFrameBody(id, n, payloads[n]));
        if (n == 0)
            w.place(swfw::Placement{.depth = 1, .characterId = id, .ratio = 0});
        else
            w.place(swfw::Placement{.depth = 1, .ratio = n, .move = true});
        w.showFrame();
    }
    return w.finish();
}

PixelDifference difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return {};
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    PixelDifference result{0, 0};
    double total = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const uint8_t*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const uint8_t*>(y.constScanLine(row));
        for (int i = 0; i < x.width() * 4; ++i) {
            const int d = std::abs(int(p[i]) - int(q[i]));
            result.largest = std::max(result.largest, d);
            total += d;
        }
    }
    result.mean = total / (double(x.width()) * x.height() * 4);
    return result;
}

} // namespace flash::test
