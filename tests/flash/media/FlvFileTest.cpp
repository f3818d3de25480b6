// FLV files and their AMF0 script data: the index of files ffmpeg writes against
// what ffmpeg was asked for, handwritten AMF0 values, and hostile files and values.
#include "VideoFixtures.h"

#include "flash/media/Amf0.h"
#include "flash/media/FlvFile.h"

#include <QTemporaryDir>
#include <bit>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string_view>

namespace flash::media {

// Values in failure messages.
void PrintTo(const AmfValue& v, std::ostream* out)
{
    *out << "{type " << int(v.type) << ", " << v.number << ", " << v.boolean << ", \"" << v.string << "\"";
    for (const auto& [name, member] : v.members) {
        *out << ", " << name << ": ";
        PrintTo(member, out);
    }
    for (const AmfValue& element : v.elements) {
        *out << ", ";
        PrintTo(element, out);
    }
    *out << "}";
}

namespace {

using test::hasFfmpeg;
using test::runFfmpeg;
using Type = AmfValue::Type;

// Big-endian bytes, AMF0 values and FLV tags written by hand.
struct Bytes {
    std::vector<uint8_t> data;

    Bytes& u8(uint8_t v) { return data.push_back(v), *this; }
    Bytes& be(uint64_t v, int n)
    {
        for (int i = n - 1; i >= 0; --i)
            data.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    Bytes& raw(std::string_view s) { return data.insert(data.end(), s.begin(), s.end()), *this; }
    Bytes& append(const Bytes& other) { return data.insert(data.end(), other.data.begin(), other.data.end()), *this; }
    Bytes& name(std::string_view s) { return be(s.size(), 2).raw(s); } // an object member's name, or an end with ""
    Bytes& number(double v) { return u8(0x00).be(std::bit_cast<uint64_t>(v), 8); }
    Bytes& string(std::string_view s) { return u8(0x02).name(s); }
    Bytes& objectEnd() { return name("").u8(0x09); }

    // A tag of `typeByte` (its type, filter and reserved bits) and the size of it after it.
    Bytes& tag(uint8_t typeByte, uint32_t timestamp, const Bytes& payload, uint32_t streamId = 0)
    {
        u8(typeByte).be(payload.data.size(), 3).be(timestamp & 0xffffff, 3).u8(uint8_t(timestamp >> 24)).be(streamId, 3);
        return append(payload).be(11 + payload.data.size(), 4);
    }
};

Bytes flvHeader(uint8_t flags)
{
    return Bytes{}.raw("FLV").u8(1).u8(flags).be(9, 4).be(0, 4);
}

std::filesystem::path write(const QTemporaryDir& dir, const QString& name, std::span<const uint8_t> bytes)
{
    const std::filesystem::path path = dir.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// One second of ffmpeg's test picture (10 frames, a key frame every 4) and a tone, as Sorenson H.263 and ADPCM.
std::filesystem::path ffmpegFlv(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("av.flv");
    if (!runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-f", "lavfi", "-i", "sine=f=440:sample_rate=22050",
                    "-t", "1", "-g", "4", "-c:v", "flv1", "-c:a", "adpcm_swf", path}))
        return {};
    return path.toStdString();
}

TEST(FlvFile, IndexesEveryTagOfAnFfmpegFileInOrder)
{
    if (!hasFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir dir;
    const auto path = ffmpegFlv(dir);
    ASSERT_FALSE(path.empty());
    const auto flv = FlvFile::open(path);
    ASSERT_TRUE(flv);
    EXPECT_TRUE(flv->declaresAudio());
    EXPECT_TRUE(flv->declaresVideo());
    EXPECT_EQ(flv->fileSize(), std::filesystem::file_size(path));

    const auto& tags = flv->tags();
    ASSERT_FALSE(tags.empty());
    EXPECT_EQ(tags.front().kind, FlvTag::Kind::Script);
    std::vector<uint32_t> videoTimes, keyFrames, audioTimes;
    std::vector<std::vector<uint8_t>> videoPayloads;
    for (size_t i = 0; i < tags.size(); ++i) {
        const FlvTag& tag = tags[i];
        if (i > 0) {
            EXPECT_GT(tag.offset, tags[i - 1].offset + tags[i - 1].size);
        }
        if (tag.kind == FlvTag::Kind::Video) {
            if (tag.keyFrame)
                keyFrames.push_back(uint32_t(videoTimes.size()));
            videoTimes.push_back(tag.timestampMs);
            const auto payload = flv->payload(tag);
            ASSERT_EQ(payload.size(), tag.size);
            videoPayloads.emplace_back(payload.begin() + 1, payload.end()); // without the frame type and codec byte
        } else if (tag.kind == FlvTag::Kind::Audio) {
            EXPECT_FALSE(tag.keyFrame);
            audioTimes.push_back(tag.timestampMs);
        }
    }
    EXPECT_EQ(videoTimes, (std::vector<uint32_t>{0, 100, 200, 300, 400, 500, 600, 700, 800, 900}));
    EXPECT_EQ(keyFrames, (std::vector<uint32_t>{0, 4, 8}));
    // 22050 samples in packets of 4096: 6 packets, 4096 / 22.05 ms apart.
    EXPECT_EQ(audioTimes, (std::vector<uint32_t>{0, 186, 372, 557, 743, 929}));
    EXPECT_EQ(tags.size(), 1 + videoTimes.size() + audioTimes.size());
    // The payloads read on demand are those a whole-file reader finds.
    EXPECT_EQ(videoPayloads, test::flvVideoPayloads(QString::fromStdString(path.string())));
}

TEST(FlvFile, ReadsTheMetaDataFfmpegWrites)
{
    if (!hasFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir dir;
    const auto path = ffmpegFlv(dir);
    ASSERT_FALSE(path.empty());
    const auto flv = FlvFile::open(path);
    ASSERT_TRUE(flv);
    ASSERT_FALSE(flv->tags().empty());
    const auto script = readScriptTag(flv->payload(flv->tags().front()));
    ASSERT_TRUE(script);
    EXPECT_EQ(script->first, "onMetaData");
    ASSERT_EQ(script->second.size(), 1u);
    const AmfValue& meta = script->second.front();
    EXPECT_EQ(meta.type, Type::EcmaArray);
    const AmfValue* duration = meta.member("duration");
    const AmfValue* width = meta.member("width");
    const AmfValue* height = meta.member("height");
    ASSERT_TRUE(duration && width && height);
    EXPECT_EQ(duration->type, Type::Number);
    EXPECT_NEAR(duration->number, 1.0, 0.2);
    EXPECT_EQ(width->type, Type::Number);
    EXPECT_EQ(width->number, 64);
    EXPECT_EQ(height->number, 48);
    ASSERT_TRUE(meta.member("encoder"));
    EXPECT_EQ(meta.member("encoder")->type, Type::String);
    EXPECT_EQ(meta.member("encoder")->string.substr(0, 4), "Lavf");
}

// A cue point as a script tag would hold it: objects in an ECMA array (whose count is
// only a hint), a strict array of each simple type.
Bytes cuePoint()
{
    Bytes flags;
    flags.u8(0x0a).be(4, 4).u8(0x01).u8(1).u8(0x05).u8(0x06).number(7);
    Bytes b;
    b.string("onCuePoint").u8(0x08).be(99, 4);
    b.name("name").string("chapter");
    b.name("time").number(2.5);
    b.name("parameters").u8(0x03);
    b.name("lang").u8(0x0c).be(9, 4).raw("français");
    b.name("flags").append(flags);
    b.name("inner").u8(0x03).name("deep").u8(0x01).u8(0).objectEnd();
    b.objectEnd();
    return b.objectEnd();
}

TEST(Amf0, ReadsNestedObjectsArraysDatesAndLongStrings)
{
    const std::string longText(70'000, 'x');
    Bytes b = cuePoint();
    b.u8(0x0b).be(std::bit_cast<uint64_t>(1234567890123.0), 8).be(0, 2); // a date, UTC
    b.u8(0x0c).be(longText.size(), 4).raw(longText);
    b.u8(0x10).name("Point").name("x").number(-1).objectEnd(); // a typed object
    const auto script = readScriptTag(b.data);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->first, "onCuePoint");
    const auto& args = script->second;
    ASSERT_EQ(args.size(), 4u);

    const AmfValue& cue = args[0];
    EXPECT_EQ(cue.type, Type::EcmaArray);
    ASSERT_EQ(cue.members.size(), 3u);
    EXPECT_EQ(cue.members[0].first, "name");
    EXPECT_EQ(cue.members[0].second.string, "chapter");
    EXPECT_EQ(cue.members[1].first, "time");
    EXPECT_EQ(cue.members[1].second.number, 2.5);
    const AmfValue& parameters = cue.members[2].second;
    EXPECT_EQ(parameters.type, Type::Object);
    ASSERT_EQ(parameters.members.size(), 3u);
    EXPECT_EQ(parameters.member("lang")->type, Type::String);
    EXPECT_EQ(parameters.member("lang")->string, "français");
    const AmfValue* flags = parameters.member("flags");
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->type, Type::StrictArray);
    ASSERT_EQ(flags->elements.size(), 4u);
    EXPECT_EQ(flags->elements[0].type, Type::Boolean);
    EXPECT_TRUE(flags->elements[0].boolean);
    EXPECT_EQ(flags->elements[1].type, Type::Null);
    EXPECT_EQ(flags->elements[2].type, Type::Undefined);
    EXPECT_EQ(flags->elements[3].number, 7);
    const AmfValue* deep = parameters.member("inner")->member("deep");
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->type, Type::Boolean);
    EXPECT_FALSE(deep->boolean);

    EXPECT_EQ(args[1].type, Type::Date);
    EXPECT_EQ(args[1].number, 1234567890123.0);
    EXPECT_EQ(args[2].type, Type::String);
    EXPECT_EQ(args[2].string, longText);
    EXPECT_EQ(args[3].type, Type::Object);
    ASSERT_EQ(args[3].members.size(), 1u);
    EXPECT_EQ(args[3].member("x")->number, -1);

    EXPECT_FALSE(readScriptTag(Bytes{}.number(1).string("onMetaData").data)); // no name first
}

// Nested objects `levels` deep, each the only member of the one around it.
Bytes nested(size_t levels)
{
    Bytes b;
    for (size_t i = 0; i < levels; ++i)
        (i == 0 ? b : b.name("o")).u8(0x03);
    for (size_t i = 0; i < levels; ++i)
        b.objectEnd();
    return b;
}

TEST(Amf0, ABrokenValueIsDroppedWithWhatFollowsAndWholeOnesBeforeAreKept)
{
    const Bytes whole = Bytes{}.number(1).string("ok");
    const std::vector<AmfValue> before = readAmf0Values(whole.data);
    ASSERT_EQ(before.size(), 2u);
    // Cut short (nothing may follow, or it would fill the gap), or broken whatever follows.
    struct Broken {
        const char* what;
        Bytes bytes;
        bool cut;
    };
    const std::vector<Broken> broken = {
        {"string longer than the data", Bytes{}.u8(0x02).be(16, 2).raw("ab"), true},
        {"long string longer than the data", Bytes{}.u8(0x0c).be(0xffffffff, 4).raw("ab"), true},
        {"strict array counting more than the data", Bytes{}.u8(0x0a).be(0xffffffff, 4).u8(0x05), false},
        {"object without its end", Bytes{}.u8(0x03).name("a").number(1), true},
        {"date without its time zone", Bytes{}.u8(0x0b).be(0, 8), true},
        {"member without a value", Bytes{}.u8(0x03).name("a").u8(0x09), false},
        {"nested too deep", nested(kAmf0MaxDepth + 2), false},
        {"nested far too deep", nested(100'000), false},
        {"object end out of place", Bytes{}.u8(0x09), false},
        {"AMF3", Bytes{}.u8(0x11).u8(0x01), false},
        {"movie clip (reserved)", Bytes{}.u8(0x04), false},
    };
    for (const auto& [what, bad, cut] : broken) {
        SCOPED_TRACE(what);
        Bytes data = Bytes{whole}.append(bad);
        if (!cut)
            data.number(2);
        EXPECT_EQ(readAmf0Values(data.data), before);
    }
    EXPECT_EQ(readAmf0Values(nested(kAmf0MaxDepth + 1).data).size(), 1u); // as deep as allowed

    // Every cut of a whole value keeps the values before it.
    const Bytes cue = cuePoint();
    const std::vector<AmfValue> all = readAmf0Values(cue.data);
    ASSERT_EQ(all.size(), 2u);
    for (size_t cut = 0; cut < cue.data.size(); ++cut) {
        const auto values = readAmf0Values(std::span(cue.data).first(cut));
        EXPECT_EQ(values, std::vector<AmfValue>(all.begin(), all.begin() + (cut >= 13 ? 1 : 0))) << "cut at " << cut;
    }

    // The value budget: values past it are dropped, and so is an array that runs over it.
    const Bytes nulls = Bytes{}.raw(std::string(kAmf0MaxValues + 10, '\x05'));
    EXPECT_EQ(readAmf0Values(nulls.data).size(), kAmf0MaxValues);
    const Bytes array = Bytes{}.u8(0x0a).be(kAmf0MaxValues, 4).raw(std::string(kAmf0MaxValues, '\x05'));
    EXPECT_TRUE(readAmf0Values(array.data).empty());

    // Random bytes: no crash, and whatever is read reads the same again.
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> noise(random() % 64);
        for (uint8_t& byte : noise)
            byte = uint8_t(random() % 20); // mostly markers and small lengths
        EXPECT_EQ(readAmf0Values(noise), readAmf0Values(noise));
    }
}

// A file of each kind of tag: metadata, key, inter and disposable frames, sound, an
// empty video tag and a timestamp that needs the extended byte.
Bytes handwrittenFlv()
{
    Bytes meta = Bytes{}.string("onMetaData").u8(0x08).be(1, 4).name("duration").number(20000).objectEnd();
    Bytes b = flvHeader(0x05);
    b.tag(18, 0, meta);
    b.tag(9, 0, Bytes{}.u8(0x12).raw("key frame"));
    b.tag(8, 0, Bytes{}.u8(0x22).raw("sound"));
    b.tag(9, 40, Bytes{}.u8(0x22).raw("inter"));
    b.tag(9, 80, Bytes{});
    b.tag(9, 120, Bytes{}.u8(0x32).raw("disposable"));
    b.tag(8, 0x12345678, Bytes{}.u8(0x22).raw("late"));
    return b;
}

TEST(FlvFile, ACutFileKeepsEveryWholeTag)
{
    QTemporaryDir dir;
    const Bytes full = handwrittenFlv();
    const auto flv = FlvFile::open(write(dir, "full.flv", full.data));
    ASSERT_TRUE(flv);
    EXPECT_TRUE(flv->declaresAudio());
    EXPECT_TRUE(flv->declaresVideo());
    const std::vector<FlvTag> tags = flv->tags();
    ASSERT_EQ(tags.size(), 7u);
    EXPECT_EQ(tags[0].kind, FlvTag::Kind::Script);
    EXPECT_EQ(tags[0].offset, 13u + 11u);
    EXPECT_EQ(readScriptTag(flv->payload(tags[0]))->second.at(0).member("duration")->number, 20000);
    EXPECT_TRUE(tags[1].keyFrame);
    EXPECT_EQ(flv->payload(tags[1]), Bytes{}.u8(0x12).raw("key frame").data);
    EXPECT_EQ(tags[2].kind, FlvTag::Kind::Audio);
    EXPECT_FALSE(tags[3].keyFrame);
    EXPECT_EQ(tags[3].timestampMs, 40u);
    EXPECT_EQ(tags[4].size, 0u);
    EXPECT_FALSE(tags[4].keyFrame);
    EXPECT_TRUE(flv->payload(tags[4]).empty());
    EXPECT_FALSE(tags[5].keyFrame);
    EXPECT_EQ(tags[6].timestampMs, 0x12345678u);
    EXPECT_EQ(flv->payload(tags[6]), Bytes{}.u8(0x22).raw("late").data);

    for (size_t cut = 0; cut < full.data.size(); ++cut) {
        SCOPED_TRACE(cut);
        const auto path = write(dir, "cut.flv", std::span(full.data).first(cut));
        const auto part = FlvFile::open(path);
        if (cut < 9) {
            EXPECT_FALSE(part);
            continue;
        }
        ASSERT_TRUE(part);
        size_t whole = 0;
        while (whole < tags.size() && tags[whole].offset + tags[whole].size <= cut)
            ++whole;
        EXPECT_EQ(part->tags(), std::vector<FlvTag>(tags.begin(), tags.begin() + whole));
    }
}

TEST(FlvFile, GarbageOrAHugeSizeEndsTheIndexAndOtherTagsAreWalkedPast)
{
    QTemporaryDir dir;
    const Bytes video = Bytes{}.u8(0x12).raw("frame");
    auto kindsAndTimes = [](const FlvFile& flv) {
        std::vector<std::pair<FlvTag::Kind, uint32_t>> result;
        for (const FlvTag& tag : flv.tags())
            result.emplace_back(tag.kind, tag.timestampMs);
        return result;
    };
    using Tags = std::vector<std::pair<FlvTag::Kind, uint32_t>>;

    // An unknown type and an encrypted video tag are stepped over.
    Bytes skipped = flvHeader(0x01);
    skipped.tag(9, 0, video).tag(15, 10, video).tag(0x20 | 9, 20, video).tag(9, 30, video);
    auto flv = FlvFile::open(write(dir, "skipped.flv", skipped.data));
    ASSERT_TRUE(flv);
    EXPECT_FALSE(flv->declaresAudio());
    EXPECT_EQ(kindsAndTimes(*flv), (Tags{{FlvTag::Kind::Video, 0}, {FlvTag::Kind::Video, 30}}));

    // A header with reserved bits or a stream id, or a size past the end, ends the index.
    for (const Bytes& bad : {Bytes{}.tag(0x40 | 9, 10, video), Bytes{}.tag(9, 10, video, 1),
                             Bytes{}.u8(9).be(0xffffff, 3).be(10, 3).u8(0).be(0, 3).append(video)}) {
        Bytes file = flvHeader(0x01);
        file.tag(9, 0, video).append(bad).tag(9, 20, video);
        flv = FlvFile::open(write(dir, "bad.flv", file.data));
        ASSERT_TRUE(flv);
        EXPECT_EQ(kindsAndTimes(*flv), (Tags{{FlvTag::Kind::Video, 0}}));
    }

    // Random bytes after whole tags.
    std::mt19937 random(11);
    for (int round = 0; round < 50; ++round) {
        Bytes file = flvHeader(0x01);
        file.tag(9, 0, video);
        for (int i = random() % 400; i > 0; --i)
            file.u8(uint8_t(random()));
        flv = FlvFile::open(write(dir, "noise.flv", file.data));
        ASSERT_TRUE(flv);
        EXPECT_EQ(kindsAndTimes(*flv), (Tags{{FlvTag::Kind::Video, 0}}));
    }

    // A header size past the end leaves no tags; a file that is not FLV, or no file, does not open.
    Bytes farHeader = Bytes{}.raw("FLV").u8(1).u8(0x05).be(0xffffffff, 4).be(0, 4);
    farHeader.tag(9, 0, video);
    flv = FlvFile::open(write(dir, "far.flv", farHeader.data));
    ASSERT_TRUE(flv);
    EXPECT_TRUE(flv->tags().empty());
    Bytes notFlv = Bytes{}.raw("FWS").u8(1).u8(0x05).be(9, 4).be(0, 4);
    notFlv.tag(9, 0, video);
    EXPECT_FALSE(FlvFile::open(write(dir, "movie.swf", notFlv.data)));
    EXPECT_FALSE(FlvFile::open(dir.filePath("missing.flv").toStdString()));
    EXPECT_FALSE(FlvFile::open(dir.path().toStdString()));
}

TEST(FlvFile, PayloadsAreReadFromTheFileWhenAsked)
{
    QTemporaryDir dir;
    Bytes file = flvHeader(0x01);
    file.tag(9, 0, Bytes{}.u8(0x12).raw("first")).tag(9, 100, Bytes{}.u8(0x22).raw("second"));
    const auto path = write(dir, "live.flv", file.data);
    const auto flv = FlvFile::open(path);
    ASSERT_TRUE(flv);
    const std::vector<FlvTag> tags = flv->tags();
    ASSERT_EQ(tags.size(), 2u);

    // Changed in place: the new bytes. Cut short: the tag past the end reads empty, the others still read.
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(std::streamoff(tags[1].offset + 1)).write("SECOND", 6);
    EXPECT_EQ(flv->payload(tags[1]), Bytes{}.u8(0x22).raw("SECOND").data);
    std::filesystem::resize_file(path, tags[1].offset + 2);
    EXPECT_TRUE(flv->payload(tags[1]).empty());
    EXPECT_EQ(flv->payload(tags[0]), Bytes{}.u8(0x12).raw("first").data);
}

} // namespace
} // namespace flash::media
