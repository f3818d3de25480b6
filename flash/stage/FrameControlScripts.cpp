// Walks DoAction records and applies the timeline control actions among them.
#include "flash/stage/FrameControlScripts.h"

#include "flash/stage/Stage.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace flash {
namespace {

enum ActionCode : uint8_t {
    End = 0x00,
    NextFrame = 0x04,
    PreviousFrame = 0x05,
    Play = 0x06,
    Stop = 0x07,
    GotoFrame = 0x81,
    ConstantPool = 0x88,
    GoToLabel = 0x8C,
    Push = 0x96,
    GotoFrame2 = 0x9F,
};

// The value most recently pushed, as far as a frame argument needs it.
using PushedValue = std::variant<std::monostate, double, std::string>;

class PayloadReader {
public:
    explicit PayloadReader(std::span<const uint8_t> bytes) : m_bytes(bytes) { }

    [[nodiscard]] bool atEnd() const { return m_pos >= m_bytes.size(); }
    std::optional<uint8_t> u8()
    {
        if (m_pos + 1 > m_bytes.size())
            return std::nullopt;
        return m_bytes[m_pos++];
    }
    std::optional<uint16_t> u16()
    {
        if (m_pos + 2 > m_bytes.size())
            return std::nullopt;
        const uint16_t v = uint16_t(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::optional<uint32_t> u32()
    {
        if (m_pos + 4 > m_bytes.size())
            return std::nullopt;
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | m_bytes[m_pos + size_t(i)];
        m_pos += 4;
        return v;
    }
    // A zero-terminated string; an unterminated one runs to the end of the payload.
    std::string string()
    {
        std::string out;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != 0)
            out.push_back(char(m_bytes[m_pos++]));
        if (m_pos < m_bytes.size())
            ++m_pos;
        return out;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_pos = 0;
};

std::vector<std::string> readConstantPool(std::span<const uint8_t> payload)
{
    PayloadReader reader(payload);
    std::vector<std::string> pool;
    const auto count = reader.u16();
    for (uint16_t i = 0; count && i < *count && !reader.atEnd(); ++i)
        pool.push_back(reader.string());
    return pool;
}

PushedValue constantAt(const std::vector<std::string>& pool, std::optional<uint16_t> index)
{
    if (!index || *index >= pool.size())
        return {};
    return pool[*index];
}

// The last value an ActionPush leaves on the stack; unknown kinds yield monostate.
PushedValue lastPushed(std::span<const uint8_t> payload, const std::vector<std::string>& pool)
{
    PayloadReader reader(payload);
    PushedValue last;
    while (!reader.atEnd()) {
        const auto type = reader.u8();
        if (!type)
            break;
        switch (*type) {
        case 0: last = reader.string(); break;
        case 1: {
            const auto bits = reader.u32();
            if (!bits)
                return {};
            last = double(std::bit_cast<float>(*bits));
            break;
        }
        case 2: case 3: last = {}; break;
        case 4: case 5:
            if (!reader.u8())
                return {};
            last = {};
            break;
        case 6: {
            // Stored as two little-endian halves, the high half first.
            const auto high = reader.u32();
            const auto low = reader.u32();
            if (!high || !low)
                return {};
            last = std::bit_cast<double>((uint64_t(*high) << 32) | *low);
            break;
        }
        case 7: {
            const auto bits = reader.u32();
            if (!bits)
                return {};
            last = double(int32_t(*bits));
            break;
        }
        case 8: {
            const auto index = reader.u8();
            last = constantAt(pool, index ? std::optional<uint16_t>(*index) : std::nullopt);
            break;
        }
        case 9: last = constantAt(pool, reader.u16()); break;
        default: return {};
        }
    }
    return last;
}

void gotoOneBased(TimelineControl& owner, double frame)
{
    if (!std::isfinite(frame))
        return;
    const double index = std::floor(frame) - 1;
    owner.gotoFrame(index <= 0 ? 0u : index >= double(UINT32_MAX) ? UINT32_MAX : uint32_t(index));
}

// ActionGotoFrame2 with a frame number or a label of this timeline; targets in
// other timelines ("clip:frame") need the interpreter and are ignored.
void gotoFrame2(std::span<const uint8_t> payload, const PushedValue& argument, TimelineControl& owner)
{
    PayloadReader reader(payload);
    const auto flags = reader.u8();
    if (!flags)
        return;
    const bool playAfter = *flags & 1;
    const uint16_t sceneBias = (*flags & 2) ? reader.u16().value_or(0) : 0;

    bool moved = false;
    if (const double* number = std::get_if<double>(&argument)) {
        gotoOneBased(owner, *number + sceneBias);
        moved = true;
    } else if (const std::string* text = std::get_if<std::string>(&argument)) {
        if (text->find_first_of(":/") != std::string::npos)
            return;
        moved = owner.gotoLabel(*text);
        int number = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
        if (!moved && error == std::errc() && end == text->data() + text->size()) {
            gotoOneBased(owner, double(number) + sceneBias);
            moved = true;
        }
    }
    if (!moved)
        return;
    if (playAfter)
        owner.play();
    else
        owner.stop();
}

// A clip's playhead as frame actions see it.
class ClipControl final : public TimelineControl {
public:
    ClipControl(Stage& stage, DisplayObject& clip) : m_stage(stage), m_clip(clip) { }
    void play() override { Stage::play(m_clip); }
    void stop() override { Stage::stop(m_clip); }
    void gotoFrame(uint32_t frame) override { m_stage.gotoFrame(m_clip, frame); }
    bool gotoLabel(const std::string& label) override { return m_stage.gotoLabel(m_clip, label); }
    [[nodiscard]] uint32_t currentFrame() const override { return m_clip.clip ? m_clip.clip->currentFrame : 0; }
    [[nodiscard]] uint32_t frameCount() const override { return m_clip.clip ? m_clip.clip->frameCount() : 0; }

private:
    Stage& m_stage;
    DisplayObject& m_clip;
};

} // namespace

void FrameControlScripts::runFrameActions(Stage& stage, DisplayObject& clip, const DoAction& action)
{
    ClipControl control(stage, clip);
    runFrameControl(action.actions, control);
}

void runFrameControl(std::span<const uint8_t> actions, TimelineControl& owner)
{
    std::vector<std::string> constantPool;
    PushedValue pushed;
    size_t pos = 0;
    while (pos < actions.size()) {
        const uint8_t code = actions[pos++];
        if (code == End)
            break;
        std::span<const uint8_t> payload;
        if (code >= 0x80) {
            if (pos + 2 > actions.size())
                break;
            const size_t length = actions[pos] | (actions[pos + 1] << 8);
            pos += 2;
            if (length > actions.size() - pos)
                break;
            payload = actions.subspan(pos, length);
            pos += length;
        }
        PushedValue justPushed;
        switch (code) {
        case Stop: owner.stop(); break;
        case Play: owner.play(); break;
        case NextFrame:
            if (owner.currentFrame() + 1 < owner.frameCount())
                owner.gotoFrame(owner.currentFrame() + 1);
            owner.stop();
            break;
        case PreviousFrame:
            if (owner.currentFrame() > 0)
                owner.gotoFrame(owner.currentFrame() - 1);
            owner.stop();
            break;
        case GotoFrame:
            if (payload.size() >= 2) {
                owner.gotoFrame(uint32_t(payload[0] | (payload[1] << 8)));
                owner.stop();
            }
            break;
        case GoToLabel: {
            PayloadReader reader(payload);
            if (owner.gotoLabel(reader.string()))
                owner.stop();
            break;
        }
        case ConstantPool: constantPool = readConstantPool(payload); break;
        case Push: justPushed = lastPushed(payload, constantPool); break;
        case GotoFrame2: gotoFrame2(payload, pushed, owner); break;
        default: break;
        }
        pushed = std::move(justPushed);
    }
}

} // namespace flash
