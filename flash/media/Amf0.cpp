// Reads AMF0 values by recursive descent, each read checked against the bytes left.
#include "flash/media/Amf0.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace flash::media {

const AmfValue* AmfValue::member(std::string_view name) const
{
    for (const auto& [key, value] : members)
        if (key == name)
            return &value;
    return nullptr;
}

namespace {

// Type markers of AMF0.
enum Marker : uint8_t {
    kNumber = 0x00,
    kBoolean = 0x01,
    kString = 0x02,
    kObject = 0x03,
    kNull = 0x05,
    kUndefined = 0x06,
    kReference = 0x07,
    kEcmaArray = 0x08,
    kObjectEnd = 0x09,
    kStrictArray = 0x0a,
    kDate = 0x0b,
    kLongString = 0x0c,
    kUnsupported = 0x0d,
    kXmlDocument = 0x0f,
    kTypedObject = 0x10,
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : m_data(data) {}

    bool atEnd() const { return m_at == m_data.size(); }
    size_t left() const { return m_data.size() - m_at; }

    // One value, or nothing when it is broken (the reader is then left anywhere).
    std::optional<AmfValue> value(size_t depth)
    {
        if (depth > kAmf0MaxDepth || m_count == kAmf0MaxValues || !has(1))
            return std::nullopt;
        ++m_count;
        AmfValue v;
        if (!read(u8(), v, depth))
            return std::nullopt;
        return v;
    }

private:
    // The body of a value after its marker.
    bool read(uint8_t marker, AmfValue& v, size_t depth)
    {
        using Type = AmfValue::Type;
        switch (marker) {
        case kNumber:
            v.type = Type::Number;
            return f64(v.number);
        case kBoolean:
            v.type = Type::Boolean;
            if (!has(1))
                return false;
            v.boolean = u8() != 0;
            return true;
        case kString:
            v.type = Type::String;
            return has(2) && text(u16(), v.string);
        case kLongString:
        case kXmlDocument:
            v.type = Type::String;
            return has(4) && text(u32(), v.string);
        case kNull:
            v.type = Type::Null;
            return true;
        case kUndefined:
        case kUnsupported:
            return true;
        case kReference: // an index into the objects read before: not followed here
            return skip(2);
        case kObject:
            v.type = Type::Object;
            return members(v, depth);
        case kTypedObject: { // its class name goes
            v.type = Type::Object;
            std::string className;
            return has(2) && text(u16(), className) && members(v, depth);
        }
        case kEcmaArray:
            // The count before the members is only a hint (writers get it wrong): the end marker ends them.
            v.type = Type::EcmaArray;
            return skip(4) && members(v, depth);
        case kStrictArray: {
            v.type = Type::StrictArray;
            if (!has(4))
                return false;
            const uint32_t count = u32();
            if (count > left()) // every element takes a byte at least
                return false;
            v.elements.reserve(std::min<size_t>(count, kAmf0MaxValues - m_count));
            for (uint32_t i = 0; i < count; ++i) {
                auto element = value(depth + 1);
                if (!element)
                    return false;
                v.elements.push_back(std::move(*element));
            }
            return true;
        }
        case kDate:
            v.type = Type::Date;
            return f64(v.number) && skip(2); // then the time zone, which writers leave 0 and readers ignore
        default: // movie clip and record set (reserved), object end out of place, AMF3, unknown
            return false;
        }
    }

    bool has(size_t n) const { return n <= left(); }
    uint8_t u8() { return m_data[m_at++]; }
    uint16_t u16()
    {
        const uint16_t v = uint16_t(m_data[m_at] << 8 | m_data[m_at + 1]);
        m_at += 2;
        return v;
    }
    uint32_t u32()
    {
        const uint32_t high = u16();
        return high << 16 | u16();
    }
    bool f64(double& out)
    {
        if (!has(8))
            return false;
        const uint64_t high = u32();
        out = std::bit_cast<double>(high << 32 | u32());
        return true;
    }
    bool skip(size_t n)
    {
        if (!has(n))
            return false;
        m_at += n;
        return true;
    }
    bool text(size_t length, std::string& out)
    {
        if (!has(length))
            return false;
        out.assign(reinterpret_cast<const char*>(m_data.data() + m_at), length);
        m_at += length;
        return true;
    }

    // Named members up to an empty name and the object end marker.
    bool members(AmfValue& v, size_t depth)
    {
        for (;;) {
            std::string name;
            if (!has(2) || !text(u16(), name))
                return false;
            if (name.empty()) {
                if (has(1) && m_data[m_at] == kObjectEnd) {
                    ++m_at;
                    return true;
                }
                // An empty name before a value is allowed (a member named ""); a missing value is not.
            }
            auto member = value(depth + 1);
            if (!member)
                return false;
            v.members.emplace_back(std::move(name), std::move(*member));
        }
    }

    std::span<const uint8_t> m_data;
    size_t m_at = 0;
    size_t m_count = 0; // values begun so far, against kAmf0MaxValues
};

} // namespace

std::vector<AmfValue> readAmf0Values(std::span<const uint8_t> data)
{
    Reader reader(data);
    std::vector<AmfValue> values;
    while (!reader.atEnd()) {
        auto value = reader.value(0);
        if (!value)
            break;
        values.push_back(std::move(*value));
    }
    return values;
}

} // namespace flash::media
