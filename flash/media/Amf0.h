// AMF0 values as FLV script tags store them ("onMetaData", "onCuePoint" and their arguments).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace flash::media {

struct AmfValue {
    enum class Type : uint8_t { Number, Boolean, String, Object, Null, Undefined, EcmaArray, StrictArray, Date };
    Type type = Type::Undefined;
    double number = 0;  // Number, Date (ms since the epoch, UTC)
    bool boolean = false;
    std::string string; // String, long string and XML document (bytes as stored, usually UTF-8)
    std::vector<std::pair<std::string, AmfValue>> members; // Object (typed ones too), EcmaArray, in file order
    std::vector<AmfValue> elements;                        // StrictArray

    // The first member named `name` of an Object or EcmaArray; null when there is none.
    [[nodiscard]] const AmfValue* member(std::string_view name) const;

    friend bool operator==(const AmfValue&, const AmfValue&) = default;
};

// Values nested deeper than this (an object in an object ... ) are broken.
inline constexpr size_t kAmf0MaxDepth = 64;
// At most this many values, members and elements included, are read from one span.
inline constexpr size_t kAmf0MaxValues = size_t(1) << 18;

// Reads values one after another until the data ends or a value is broken; a broken
// value (truncated, nested too deep, of a marker unknown here or AMF3, past the value
// budget) and everything after it are dropped. Markers that carry no value for an FLV
// reader (unsupported, reference) read as Undefined.
[[nodiscard]] std::vector<AmfValue> readAmf0Values(std::span<const uint8_t> data);

} // namespace flash::media
