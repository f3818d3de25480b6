// libavformat opens the file (local files only, of the audio containers below), picks
// its audio stream and reads it packet by packet; its tags, which libavformat names
// in its own way (title, artist, date...), are named again as Sound.id3 names them.
#include "flash/media/SoundFile.h"

#include "flash/media/LibavHandles.h"
#include "flash/media/SoundDecoder.h"

#include <algorithm>
#include <cctype>

namespace flash::media {

namespace {

struct FormatClose {
    void operator()(AVFormatContext* f) const { av().avformat_close_input(&f); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatClose>;

// The demuxers of files that hold sound, and no others: none of them reaches for
// other files or addresses (as playlists and concatenations do), and the protocol is `file` alone.
constexpr const char* kAudioFormats =
    "mp3,wav,w64,aiff,au,caf,voc,ogg,flac,aac,ac3,eac3,dts,amr,ape,wv,tta,mpc,mpc8,mov,matroska,asf,flv";

struct TagName {
    const char* libav;    // libavformat's name (of ID3v2 frames, Vorbis comments and the like)
    const char* longName; // Sound.id3's own name, where it has one
    const char* frameId;  // the ID3v2 frame
};
constexpr TagName kTagNames[] = {
    {"title", "songname", "TIT2"},   {"artist", "artist", "TPE1"}, {"album", "album", "TALB"},
    {"date", "year", "TYER"},        {"comment", "comment", "COMM"}, {"genre", "genre", "TCON"},
    {"track", "track", "TRCK"},      {"composer", nullptr, "TCOM"}, {"copyright", nullptr, "TCOP"},
    {"encoded_by", nullptr, "TENC"}, {"language", nullptr, "TLAN"}, {"album_artist", nullptr, "TPE2"},
    {"performer", nullptr, "TPE3"},  {"disc", nullptr, "TPOS"},     {"publisher", nullptr, "TPUB"},
    {"encoder", nullptr, "TSSE"},
};

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// A frame that libavformat keeps under its own id (TBPM, TKEY, WXXX...).
bool isFrameId(const std::string& key)
{
    return key.size() == 4 && (key[0] == 'T' || key[0] == 'W')
        && std::all_of(key.begin(), key.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// "2004-05-06" (ID3v2.4's recording time) is of the year 2004.
std::string yearOf(const std::string& date)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return date.size() > 4 && std::all_of(date.begin(), date.begin() + 4, digit) ? date.substr(0, 4) : date;
}

void addTag(std::vector<std::pair<std::string, std::string>>& tags, std::string key, std::string value)
{
    const bool known = std::any_of(tags.begin(), tags.end(), [&key](const auto& tag) { return tag.first == key; });
    if (!known)
        tags.emplace_back(std::move(key), std::move(value));
}

void collectTags(const AVDictionary* metadata, std::vector<std::pair<std::string, std::string>>& tags)
{
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av().av_dict_get(metadata, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        const std::string key = entry->key, value = entry->value;
        const std::string name = lowered(key);
        const auto known = std::find_if(std::begin(kTagNames), std::end(kTagNames),
                                        [&name](const TagName& tag) { return name == tag.libav; });
        if (known != std::end(kTagNames)) {
            const bool date = name == "date";
            if (known->longName)
                addTag(tags, known->longName, date ? yearOf(value) : value);
            addTag(tags, known->frameId, date ? yearOf(value) : value);
        } else if (isFrameId(key)) {
            addTag(tags, key, value);
        }
    }
}

} // namespace

struct SoundFileReader::State {
    FormatPtr format;
    int stream = -1;
    std::unique_ptr<PacketDecoder> decoder;
    PacketPtr packet;
    bool ended = false;
};

SoundFileReader::SoundFileReader(std::unique_ptr<State> state)
    : m_state(std::move(state))
{
}

SoundFileReader::~SoundFileReader() = default;

std::unique_ptr<SoundFileReader> SoundFileReader::open(const std::filesystem::path& path)
{
    if (!libav())
        return nullptr;
    AVDictionary* options = nullptr;
    av().av_dict_set(&options, "protocol_whitelist", "file", 0);
    av().av_dict_set(&options, "format_whitelist", kAudioFormats, 0);
    AVFormatContext* opened = nullptr;
    const std::string url = "file:" + path.string(); // a path, never taken for an address
    const int result = av().avformat_open_input(&opened, url.c_str(), nullptr, &options);
    av().av_dict_free(&options);
    if (result < 0)
        return nullptr; // libavformat freed the context
    auto state = std::make_unique<State>();
    state->format.reset(opened);
    if (av().avformat_find_stream_info(opened, nullptr) < 0)
        return nullptr;
    state->stream = av().av_find_best_stream(opened, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (state->stream < 0)
        return nullptr;
    for (unsigned i = 0; i < opened->nb_streams; ++i) {
        if (int(i) != state->stream)
            opened->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVStream& stream = *opened->streams[state->stream];
    state->decoder = PacketDecoder::forStream(*stream.codecpar);
    state->packet.reset(av().av_packet_alloc());
    if (!state->decoder || !state->packet)
        return nullptr;

    auto reader = std::unique_ptr<SoundFileReader>(new SoundFileReader(std::move(state)));
    collectTags(opened->metadata, reader->m_tags);
    collectTags(stream.metadata, reader->m_tags);
    if (opened->duration != AV_NOPTS_VALUE && opened->duration > 0)
        reader->m_durationMs = double(opened->duration) * 1000 / AV_TIME_BASE;
    else if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
        reader->m_durationMs = double(stream.duration) * av_q2d(stream.time_base) * 1000;
    return reader;
}

Pcm SoundFileReader::read(size_t frames)
{
    Pcm out;
    State& s = *m_state;
    while (!s.ended && out.frames() < frames) {
        if (av().av_read_frame(s.format.get(), s.packet.get()) < 0) {
            s.ended = true; // the end, or a file that breaks off: what came before stands
            break;
        }
        if (s.packet->stream_index == s.stream && s.packet->size > 0) {
            Pcm part = s.decoder->decode({s.packet->data, size_t(s.packet->size)});
            if (out.isEmpty())
                out = std::move(part);
            else
                out.samples.insert(out.samples.end(), part.samples.begin(), part.samples.end());
        }
        av().av_packet_unref(s.packet.get());
    }
    return out;
}

bool SoundFileReader::atEnd() const
{
    return m_state->ended;
}

std::optional<Pcm> decodeSoundFile(const std::filesystem::path& path)
{
    const auto reader = SoundFileReader::open(path);
    if (!reader)
        return std::nullopt;
    Pcm sound;
    if (const auto ms = reader->durationMs()) {
        const double frames = *ms / 1000 * kMixRate + kMixRate; // a second more than the estimate
        sound.samples.reserve(size_t(std::clamp(frames, 0.0, double(kMaxSoundFileFrames))) * 2);
    }
    while (!reader->atEnd() && sound.frames() < kMaxSoundFileFrames) {
        const Pcm part = reader->read(kMixRate);
        sound.samples.insert(sound.samples.end(), part.samples.begin(), part.samples.end());
    }
    if (sound.frames() > kMaxSoundFileFrames)
        sound.samples.resize(kMaxSoundFileFrames * 2);
    if (sound.isEmpty())
        return std::nullopt;
    return sound;
}

} // namespace flash::media
