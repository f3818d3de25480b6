// Sound files as Sound.loadSound reads them, and the audio packets of FLV files:
// ffmpeg writes each at test time (the tests skip without it), and what decodes
// must have the tone's pitch and length, and the file's tags; broken input, no crash.
#include "flash/media/SoundDecoder.h"
#include "flash/media/SoundFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace flash::media {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
constexpr size_t kRate = kMixRate;
constexpr size_t kMp3Frame = 1152;

bool hasFfmpeg()
{
    static const bool found = std::system("ffmpeg -version > /dev/null 2>&1") == 0;
    return found;
}

// A folder of its own for each test, removed after it.
class SoundFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!hasFfmpeg())
            GTEST_SKIP() << "no ffmpeg here to write sound files";
        std::string pattern = (fs::temp_directory_path() / "soundfile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override
    {
        if (!m_folder.empty())
            fs::remove_all(m_folder);
    }

    // ffmpeg turns `seconds` of a 440 Hz sine (level 1/8) into `name`, with `options` for the output.
    fs::path tone(const std::string& name, double seconds, const std::string& options)
    {
        const fs::path file = m_folder / name;
        const std::string command = "ffmpeg -v error -y -f lavfi -i sine=frequency=440:sample_rate=44100:duration="
            + std::to_string(seconds) + " " + options + " '" + file.string() + "' < /dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return file;
    }

    fs::path m_folder;
};

Bytes readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), {});
}

void writeFile(const fs::path& file, const Bytes& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Cycles a second on the left side, timed from the first rise to the last, each rise
// counted as the sound goes above +1000 after falling below -1000: codec noise near zero adds none.
double pitchOf(const Pcm& pcm, size_t from, size_t to)
{
    to = std::min(to, pcm.frames());
    int rises = 0;
    size_t first = 0, last = 0;
    bool low = false;
    for (size_t i = from; i < to; ++i) {
        const int16_t sample = pcm.samples[2 * i];
        if (sample < -1000) {
            low = true;
        } else if (sample > 1000 && low) {
            low = false;
            (rises++ ? last : first) = i;
        }
    }
    return rises > 1 && last > first ? (rises - 1) * double(kRate) / double(last - first) : 0;
}

// Frames from the first sounding one (above the level 1000) to the last: the tone itself.
size_t soundingFrames(const Pcm& pcm)
{
    size_t first = pcm.frames(), last = 0;
    for (size_t i = 0; i < pcm.frames(); ++i) {
        if (std::abs(pcm.samples[2 * i]) > 1000) {
            first = std::min(first, i);
            last = i;
        }
    }
    return first <= last ? last - first + 1 : 0;
}

std::map<std::string, std::string> tagMap(const SoundFileReader& reader)
{
    return {reader.tags().begin(), reader.tags().end()};
}

TEST_F(SoundFileTest, AnMp3FileDecodesWholeAtItsPitchWithItsTags)
{
    const fs::path file = tone("tone.mp3", 2, "-c:a libmp3lame -id3v2_version 3 -metadata title='A Song' "
                                              "-metadata artist='Some One' -metadata album=Album -metadata date=2004 "
                                              "-metadata genre=Jazz -metadata track=3 -metadata comment=Fine");
    const auto sound = decodeSoundFile(file);
    ASSERT_TRUE(sound);
    // The frames hold the encoder's delay and the padding of the last frame.
    EXPECT_GE(sound->frames(), 2 * kRate);
    EXPECT_LE(sound->frames(), 2 * kRate + 2 * kMp3Frame);
    EXPECT_NEAR(double(soundingFrames(*sound)), 2.0 * kRate, 200);
    EXPECT_NEAR(pitchOf(*sound, kRate / 4, 7 * kRate / 4), 440, 0.5);
    EXPECT_EQ(sound->samples[kRate], sound->samples[kRate + 1]) << "mono on both sides";

    const auto reader = SoundFileReader::open(file);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(reader->durationMs());
    EXPECT_NEAR(*reader->durationMs(), 2000, 60);
    const auto tags = tagMap(*reader);
    const std::map<std::string, std::string> expected{
        {"songname", "A Song"}, {"TIT2", "A Song"}, {"artist", "Some One"}, {"TPE1", "Some One"},
        {"album", "Album"},     {"TALB", "Album"},  {"year", "2004"},       {"TYER", "2004"},
        {"genre", "Jazz"},      {"TCON", "Jazz"},   {"track", "3"},         {"TRCK", "3"},
        {"comment", "Fine"},    {"COMM", "Fine"}};
    for (const auto& [key, value] : expected)
        EXPECT_EQ(tags.count(key) ? tags.at(key) : "(none)", value) << key;
}

TEST_F(SoundFileTest, ReadingInPiecesGivesTheWholeSound)
{
    const fs::path file = tone("tone.mp3", 1, "-c:a libmp3lame -ar 22050 -ac 2");
    const auto whole = decodeSoundFile(file);
    const auto reader = SoundFileReader::open(file);
    ASSERT_TRUE(whole && reader);
    Pcm pieces;
    while (!reader->atEnd()) {
        const Pcm piece = reader->read(4410);
        if (!reader->atEnd()) {
            EXPECT_GE(piece.frames(), 4410u);
        }
        pieces.samples.insert(pieces.samples.end(), piece.samples.begin(), piece.samples.end());
    }
    EXPECT_TRUE(reader->read(100).isEmpty());
    EXPECT_EQ(pieces.samples, whole->samples);
    EXPECT_NEAR(double(soundingFrames(pieces)), double(kRate), 200);
    EXPECT_NEAR(pitchOf(pieces, kRate / 4, 3 * kRate / 4), 440, 0.5);
}

// ID3v2.3 frames as other taggers write them: a comment in COMM, and frames Sound.id3
// knows by their ids alone.
TEST_F(SoundFileTest, Id3FramesOfOtherTaggersKeepTheirIds)
{
    const fs::path plain = tone("plain.mp3", 0.5, "-c:a libmp3lame -write_id3v2 0");
    auto frame = [](const std::string& id, const Bytes& body) {
        Bytes out(id.begin(), id.end());
        for (int shift : {24, 16, 8, 0})
            out.push_back(uint8_t(body.size() >> shift));
        out.insert(out.end(), {0, 0});
        out.insert(out.end(), body.begin(), body.end());
        return out;
    };
    auto text = [](const std::string& value) {
        Bytes body{0}; // ISO-8859-1
        body.insert(body.end(), value.begin(), value.end());
        return body;
    };
    Bytes frames;
    for (const Bytes& f : {frame("TIT2", text("Tune")), frame("TYER", text("1999")), frame("TBPM", text("120")),
                           frame("COMM", Bytes{0, 'e', 'n', 'g', 0, 'H', 'i'})})
        frames.insert(frames.end(), f.begin(), f.end());
    Bytes file{'I', 'D', '3', 3, 0, 0};
    for (int shift : {21, 14, 7, 0})
        file.push_back(uint8_t(frames.size() >> shift & 0x7F));
    file.insert(file.end(), frames.begin(), frames.end());
    const Bytes mp3 = readFile(plain);
    file.insert(file.end(), mp3.begin(), mp3.end());
    writeFile(m_folder / "tagged.mp3", file);

    const auto reader = SoundFileReader::open(m_folder / "tagged.mp3");
    ASSERT_TRUE(reader);
    const auto tags = tagMap(*reader);
    EXPECT_EQ(tags.at("songname"), "Tune");
    EXPECT_EQ(tags.at("year"), "1999");
    EXPECT_EQ(tags.at("TBPM"), "120");
    EXPECT_EQ(tags.at("comment"), "Hi");
    EXPECT_EQ(tags.at("COMM"), "Hi");
    EXPECT_FALSE(tags.count("artist"));
    EXPECT_FALSE(reader->read(kRate).isEmpty());
}

TEST_F(SoundFileTest, OtherAudioFilesOpenToo)
{
    const fs::path file = tone("tone.flac", 1, "-ar 22050 -metadata title=Lossless");
    const auto reader = SoundFileReader::open(file);
    ASSERT_TRUE(reader);
    EXPECT_EQ(tagMap(*reader).at("songname"), "Lossless");
    const Pcm sound = reader->read(10 * kRate);
    EXPECT_TRUE(reader->atEnd());
    EXPECT_NEAR(double(sound.frames()), double(kRate), 64);
    EXPECT_NEAR(pitchOf(sound, kRate / 4, 3 * kRate / 4), 440, 0.5);
}

// The audio tags of an FLV file: each body's first byte, and the packet after it.
struct FlvAudio {
    std::optional<uint8_t> formatByte;
    std::vector<Bytes> packets;
};

FlvAudio flvAudio(const Bytes& data)
{
    FlvAudio audio;
    auto be = [&data](size_t at, int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = v << 8 | data[at + size_t(i)];
        return v;
    };
    if (data.size() < 9)
        return audio;
    // The header, then tags of 11 header bytes, each followed by its 4-byte length.
    for (size_t at = be(5, 4) + 4; at + 11 <= data.size();) {
        const uint32_t type = data[at], size = be(at + 1, 3);
        const size_t body = at + 11;
        if (body + size > data.size())
            break;
        if (type == 8 && size > 1) {
            audio.formatByte = data[body];
            audio.packets.emplace_back(data.begin() + ptrdiff_t(body) + 1, data.begin() + ptrdiff_t(body + size));
        }
        at = body + size + 4;
    }
    return audio;
}

TEST_F(SoundFileTest, FlvAudioPacketsOfEachCodecSoundAtTheirPitch)
{
    struct Case {
        std::string options;
        uint8_t codec;
        size_t slack; // frames the codec may add at 44.1 kHz: its delay and its last block's padding
    };
    const Case cases[] = {
        {"-c:a adpcm_swf -ar 22050 -ac 1", 1, 8192},
        {"-c:a libmp3lame -ar 22050 -ac 1", 2, 6 * kMp3Frame},
        {"-c:a pcm_s16le -ar 44100 -ac 2", 3, 0},
        {"-c:a pcm_u8 -ar 11025 -ac 1", 0, 8},
        {"-c:a nellymoser -ar 8000 -ac 1", 5, 4096},
        {"-c:a nellymoser -ar 22050 -ac 1", 6, 2048},
        {"-c:a libspeex -ar 16000 -ac 1", 11, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const FlvAudio audio = flvAudio(readFile(tone("tone.flv", 1, c.options)));
        ASSERT_TRUE(audio.formatByte);
        const SoundFormat format = soundFormatOfFlvByte(*audio.formatByte);
        EXPECT_EQ(format.codec, c.codec);
        PacketDecoder decoder(format);
        Pcm sound;
        for (const Bytes& packet : audio.packets) {
            const Pcm part = decoder.decode(packet);
            sound.samples.insert(sound.samples.end(), part.samples.begin(), part.samples.end());
        }
        EXPECT_GE(sound.frames() + 64, kRate);
        EXPECT_LE(sound.frames(), kRate + c.slack);
        EXPECT_NEAR(pitchOf(sound, kRate / 4, 3 * kRate / 4), 440, 0.5);
    }
}

TEST(SoundFile, TheFlvByteIsReadAsSwfsIs)
{
    const SoundFormat adpcm = soundFormatOfFlvByte(0x1E); // ADPCM, 44 kHz, 16-bit, mono
    EXPECT_EQ(adpcm, (SoundFormat{1, 3, true, false}));
    EXPECT_EQ(soundFormatOfFlvByte(0xE2).codec, 2) << "MP3 at 8 kHz is MP3";
}

TEST(SoundFile, BrokenFilesAndPacketsGiveLittleOrNothingAndNoCrash)
{
    std::mt19937 random(11);
    const fs::path folder = fs::temp_directory_path() / ("soundfile-broken-" + std::to_string(random()));
    fs::create_directories(folder);
    auto noise = [&random](size_t size) {
        Bytes bytes(size);
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        return bytes;
    };
    EXPECT_FALSE(SoundFileReader::open(folder / "missing.mp3"));
    EXPECT_FALSE(decodeSoundFile(folder));
    writeFile(folder / "empty.mp3", {});
    EXPECT_FALSE(decodeSoundFile(folder / "empty.mp3"));
    const std::string text = "This is no sound at all, but words.\n";
    writeFile(folder / "words.mp3", Bytes(text.begin(), text.end()));
    EXPECT_FALSE(decodeSoundFile(folder / "words.mp3"));
    for (int i = 0; i < 4; ++i) {
        Bytes bytes = noise(20000);
        if (i % 2) // something that looks like an ID3 tag and MP3 frames at first
            bytes.insert(bytes.begin(), {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 20, 0xFF, 0xFB, 0x90, 0x64});
        writeFile(folder / "noise.mp3", bytes);
        if (const auto sound = decodeSoundFile(folder / "noise.mp3")) {
            EXPECT_LT(sound->frames(), 10 * kRate);
        }
    }
    if (hasFfmpeg()) {
        const std::string command = "ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=2 -c:a libmp3lame '"
            + (folder / "whole.mp3").string() + "' < /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        Bytes mp3 = readFile(folder / "whole.mp3");
        mp3.resize(mp3.size() / 2);
        writeFile(folder / "half.mp3", mp3);
        const auto half = decodeSoundFile(folder / "half.mp3");
        ASSERT_TRUE(half);
        EXPECT_NEAR(double(half->frames()), double(kRate), kRate / 5) << "what is there of the sound";
    }
    fs::remove_all(folder);

    for (uint8_t codec = 0; codec < 16; ++codec) {
        for (uint8_t rest : {0x00, 0x0F, 0x06}) {
            PacketDecoder decoder(soundFormatOfFlvByte(uint8_t(codec << 4 | rest)));
            for (size_t size : {0, 1, 2, 7, 64, 417, 5000}) {
                const Pcm pcm = decoder.decode(noise(size));
                EXPECT_LT(pcm.frames(), 200'000u);
            }
        }
    }
}

} // namespace
} // namespace flash::media
