// DefineButton, DefineButton2 (records and conditional actions) and DefineButtonCxform.
#include "flash/parse/FilterList.h"
#include "flash/parse/Primitives.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"

#include <memory>

namespace flash {
namespace {

// Records up to the terminating zero byte. DefineButton2 records add a colour
// transform and, in their flags, optional filters and blend mode.
std::string readButtonRecords(ByteReader& r, bool isButton2, std::vector<ButtonRecord>& records)
{
    while (true) {
        const uint8_t flags = r.u8();
        if (r.failed())
            return "button records end without their end marker";
        if (flags == 0)
            return {};
        ButtonRecord record;
        record.states = flags & 0x0f;
        record.characterId = r.u16();
        record.depth = r.u16();
        record.matrix = readMatrix(r);
        if (isButton2) {
            record.colorTransform = readColorTransform(r, true);
            std::string problem;
            if (flags & 0x10)
                record.filters = readFilterList(r, problem);
            if (!problem.empty())
                return problem;
            if (flags & 0x20) {
                const uint8_t mode = r.u8();
                record.blendMode = blendModeFromByte(mode);
            }
        }
        if (r.failed())
            return "button record ends early";
        records.push_back(std::move(record));
    }
}

void defineButton(TagContext& t, std::shared_ptr<ButtonDef> button)
{
    size_t actionBytes = 0;
    for (const auto& action : button->actions)
        actionBytes += sizeof(ButtonCondAction) + action.actions.size();
    if (!t.ok() || !t.ctx.charge(sizeof(ButtonDef) + button->records.size() * sizeof(ButtonRecord) + actionBytes))
        return;
    const uint16_t id = button->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const ButtonDef>(std::move(button)));
}

} // namespace

void parseDefineButton(TagContext& t)
{
    auto& r = t.body;
    auto button = std::make_shared<ButtonDef>();
    button->version = 1;
    button->id = r.u16();
    if (auto problem = readButtonRecords(r, false, button->records); !problem.empty())
        return t.reject(problem);
    // The one action list runs on release (over-down to over-up).
    constexpr uint16_t kOverDownToOverUp = 0x0008;
    button->actions.push_back({kOverDownToOverUp, copyBytes(r.rest())});
    defineButton(t, std::move(button));
}

void parseDefineButton2(TagContext& t)
{
    auto& r = t.body;
    auto button = std::make_shared<ButtonDef>();
    button->version = 2;
    button->id = r.u16();
    button->trackAsMenu = r.u8() & 0x01;
    const size_t offsetField = r.position();
    const uint16_t actionOffset = r.u16();
    if (auto problem = readButtonRecords(r, true, button->records); !problem.empty())
        return t.reject(problem);
    if (actionOffset == 0)
        return defineButton(t, std::move(button));
    // The offset, counted from its own field, is where the actions really start.
    // A bad one costs the actions only: the button still draws.
    const size_t actionsStart = offsetField + actionOffset;
    if (actionsStart < r.position() || actionsStart > r.size()) {
        t.ctx.error(t.code, t.offset, "button action offset " + std::to_string(actionOffset) + " is invalid; actions ignored");
        return defineButton(t, std::move(button));
    }
    r.seek(actionsStart);
    while (!r.atEnd() && !r.failed()) {
        const uint16_t size = r.u16();
        ButtonCondAction action;
        action.conditions = r.u16();
        // A size of 0 marks the last entry, which runs to the end of the tag.
        const size_t bodySize = size == 0 ? r.remaining() : size_t(size < 4 ? 0 : size - 4);
        if (bodySize > r.remaining())
            return t.reject("button action of " + std::to_string(size) + " bytes runs past the tag");
        action.actions = copyBytes(r.bytes(bodySize));
        button->actions.push_back(std::move(action));
        if (size == 0 || size < 4)
            break;
    }
    defineButton(t, std::move(button));
}

void parseDefineButtonCxform(TagContext& t)
{
    auto& r = t.body;
    const uint16_t id = r.u16();
    const ColorTransform cx = readColorTransform(r, false);
    if (r.failed())
        return;
    auto existing = t.ctx.movie().find<ButtonDef>(id);
    if (!existing)
        return t.reject("no button with id " + std::to_string(id));
    auto button = std::make_shared<ButtonDef>(*existing);
    for (auto& record : button->records)
        record.colorTransform = cx;
    t.ctx.movie().dictionary[id] = std::shared_ptr<const ButtonDef>(std::move(button));
}

// The sounds of a button's four transitions, each a sound id and, when not 0, its sound info.
void parseDefineButtonSound(TagContext& t)
{
    auto& r = t.body;
    const uint16_t id = r.u16();
    auto existing = t.ctx.movie().find<ButtonDef>(id);
    if (!existing)
        return t.reject("no button with id " + std::to_string(id));
    auto button = std::make_shared<ButtonDef>(*existing);
    for (StartSound& sound : button->sounds) {
        if (r.remaining() < 2)
            break;
        sound.soundId = r.u16();
        if (sound.soundId == 0)
            continue;
        // The sound info: flags, then what they announce.
        auto take = [&](size_t n) {
            const auto bytes = r.bytes(n);
            sound.info.insert(sound.info.end(), bytes.begin(), bytes.end());
            return bytes;
        };
        const auto flagByte = take(1);
        const uint8_t flags = flagByte.empty() ? 0 : flagByte[0];
        take(((flags & 0x01) ? 4 : 0) + ((flags & 0x02) ? 4 : 0) + ((flags & 0x04) ? 2 : 0));
        if (flags & 0x08) {
            const auto count = take(1);
            take(count.empty() ? 0 : size_t(count[0]) * 8);
        }
        if (r.failed())
            return t.reject("sound info runs past the tag");
    }
    t.ctx.movie().dictionary[id] = std::shared_ptr<const ButtonDef>(std::move(button));
}

} // namespace flash
