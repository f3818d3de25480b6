// Paths are built part by part from checked names, so no text a script gives
// can lead a file outside the store's root. Reading never trusts a length or a
// count: each is checked against what is left of the file before use.
#include "flash/scripting/SharedObjectStore.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/BoxedObject.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Heap.h"
#include "flash/script/Interpreter.h"

#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
// Qt's keyword macro would hide the property table's slots().
#undef slots

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <fstream>
#include <string>
#include <unordered_map>

namespace flash {
namespace {

using script::ArrayObject;
using script::Object;
using script::ObjectKind;
using script::Value;

constexpr std::string_view kRefusedCharacters = " ~%&\\;:\"',<>?#";
constexpr size_t kMaxNameLength = 1024;
constexpr size_t kMaxNamePart = 200;     // with ".sol", within any file system's limit for one name
constexpr uint32_t kMaxDepth = 256;      // nesting written and read alike, so what is written reads back
constexpr size_t kMaxReferences = 0xFFFF; // a reference is an unsigned 16-bit index
constexpr size_t kMaxArraySlots = 1 << 21; // array storage a file may make, however its indices run
constexpr size_t kMaxFolderEntries = 4096;

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
    kStrictArray = 0x0A,
    kDate = 0x0B,
    kLongString = 0x0C,
    kUnsupported = 0x0D,
    kTypedObject = 0x10,
};

constexpr std::array<uint8_t, 2> kMagic{0x00, 0xBF};
// After the magic comes the length of the rest; then this, the name, and AMF version 0.
constexpr std::array<uint8_t, 10> kSignature{'T', 'C', 'S', 'O', 0x00, 0x04, 0x00, 0x00, 0x00, 0x00};
constexpr size_t kLengthEnd = kMagic.size() + 4;

// The parts between slashes, empty ones included.
std::vector<std::string_view> partsOf(std::string_view path)
{
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash - start));
        if (slash == std::string_view::npos)
            return parts;
        start = slash + 1;
    }
}

// --- Writing ---

// Functions and clips are the runtime's, not data: a shared object leaves them out.
bool isStored(const Value& value)
{
    const Object* object = value.toObjectOrNull();
    return !object || (object->kind() != ObjectKind::Function && object->kind() != ObjectKind::Host
                       && object->kind() != ObjectKind::Super);
}

// The members kept of `object`: its own enumerable data properties, an array's
// set elements first. Holes are not written, so a sparse array stays small.
template<typename Visit>
void forEachStored(Object& object, Visit&& visit)
{
    if (object.kind() == ObjectKind::Array) {
        const std::vector<Value>& dense = static_cast<ArrayObject&>(object).dense();
        for (size_t i = 0; i < dense.size(); ++i) {
            if (!dense[i].isUndefined() && isStored(dense[i]))
                visit(std::to_string(i), dense[i]);
        }
    }
    for (const script::Property& p : object.properties().slots()) {
        if (p.isEnumerable() && !p.isAccessor() && isStored(p.value) && p.name.view() != "__proto__")
            visit(p.name.view(), p.value);
    }
}

class SolWriter {
public:
    SolWriter(script::Interpreter& vm, const DateClass& dates) : m_vm(vm), m_dates(dates) { }

    [[nodiscard]] std::vector<uint8_t>& bytes() { return m_out; }
    [[nodiscard]] bool failed() const { return m_failed || m_out.size() > kMaxSharedObjectFile; }

    void byte(uint8_t b) { m_out.push_back(b); }
    void u16(uint16_t v)
    {
        byte(uint8_t(v >> 8));
        byte(uint8_t(v));
    }
    void u32(uint32_t v)
    {
        u16(uint16_t(v >> 16));
        u16(uint16_t(v));
    }
    void text(std::string_view s) { m_out.insert(m_out.end(), s.begin(), s.end()); }
    // A member name: the format gives it 16 bits of length, so longer names cannot be kept.
    bool key(std::string_view name)
    {
        if (name.size() > 0xFFFF)
            return false;
        u16(uint16_t(name.size()));
        text(name);
        return true;
    }

    void value(const Value& v, uint32_t depth)
    {
        switch (v.type()) {
        case script::ValueType::Undefined:
            byte(kUndefined);
            break;
        case script::ValueType::Null:
            byte(kNull);
            break;
        case script::ValueType::Boolean:
            byte(kBoolean);
            byte(v.asBoolean() ? 1 : 0);
            break;
        case script::ValueType::Number:
            byte(kNumber);
            number(v.asNumber());
            break;
        case script::ValueType::String:
            string(v.stringView());
            break;
        case script::ValueType::Object:
            object(*v.asObject(), depth);
            break;
        }
    }

private:
    void number(double n)
    {
        const auto bits = std::bit_cast<uint64_t>(n);
        u32(uint32_t(bits >> 32));
        u32(uint32_t(bits));
    }

    void string(std::string_view s)
    {
        if (s.size() <= 0xFFFF) {
            byte(kString);
            u16(uint16_t(s.size()));
        } else if (s.size() <= kMaxSharedObjectFile) {
            byte(kLongString);
            u32(uint32_t(s.size()));
        } else {
            m_failed = true;
            return;
        }
        text(s);
    }

    void object(Object& o, uint32_t depth)
    {
        if (const auto known = m_references.find(&o); known != m_references.end()) {
            byte(kReference);
            u16(known->second);
            return;
        }
        if (o.kind() == ObjectKind::Boxed) {
            value(static_cast<script::BoxedObject&>(o).primitive(), depth);
            return;
        }
        if (const auto time = timeOfDate(o)) {
            byte(kDate);
            number(*time);
            u16(0); // the time zone, which readers ignore
            return;
        }
        if (depth >= kMaxDepth || m_references.size() >= kMaxReferences) {
            m_failed = true;
            return;
        }
        m_references.emplace(&o, uint16_t(m_references.size()));
        if (o.kind() == ObjectKind::Array) {
            byte(kEcmaArray);
            u32(static_cast<ArrayObject&>(o).length());
        } else {
            byte(kObject);
        }
        forEachStored(o, [&](std::string_view name, const Value& member) {
            if (!failed() && key(name))
                value(member, depth + 1);
        });
        u16(0);
        byte(kObjectEnd);
    }

    // A Date's time, read by the runtime's own getTime without running any script.
    std::optional<double> timeOfDate(Object& o)
    {
        if (!m_dates.prototype || !m_dates.getTime || !m_dates.getTime->isNative())
            return std::nullopt;
        const Object* proto = o.proto();
        for (int step = 0; proto && proto != m_dates.prototype && step < 64; ++step)
            proto = proto->proto();
        if (proto != m_dates.prototype)
            return std::nullopt;
        script::CallContext call{m_vm, Value(&o), {}, *m_dates.getTime};
        const Value time = m_dates.getTime->native()(call);
        // Objects that only inherit from Date answer NaN: they are stored as plain objects.
        if (!time.isNumber() || std::isnan(time.asNumber()))
            return std::nullopt;
        return time.asNumber();
    }

    script::Interpreter& m_vm;
    const DateClass& m_dates;
    std::vector<uint8_t> m_out;
    std::unordered_map<const Object*, uint16_t> m_references;
    bool m_failed = false;
};

// --- Reading ---

class SolReader {
public:
    SolReader(script::Interpreter& vm, std::span<const uint8_t> bytes, const DateClass& dates)
        : m_vm(vm), m_bytes(bytes), m_dates(dates)
    {
    }

    [[nodiscard]] bool atEnd() const { return m_pos == m_bytes.size(); }

    bool header()
    {
        std::span<const uint8_t> magic, signature, name;
        uint32_t length = 0, version = 0;
        uint16_t nameLength = 0;
        return take(kMagic.size(), magic) && std::ranges::equal(magic, kMagic) && u32(length)
            && length == m_bytes.size() - kLengthEnd && take(kSignature.size(), signature)
            && std::ranges::equal(signature, kSignature) && u16(nameLength) && take(nameLength, name)
            && u32(version) && version == 0;
    }

    bool byte(uint8_t& out)
    {
        if (m_pos >= m_bytes.size())
            return false;
        out = m_bytes[m_pos++];
        return true;
    }
    bool u16(uint16_t& out)
    {
        uint8_t high = 0, low = 0;
        if (!byte(high) || !byte(low))
            return false;
        out = uint16_t(high << 8 | low);
        return true;
    }
    bool u32(uint32_t& out)
    {
        uint16_t high = 0, low = 0;
        if (!u16(high) || !u16(low))
            return false;
        out = uint32_t(high) << 16 | low;
        return true;
    }
    bool key(std::string_view& out)
    {
        uint16_t length = 0;
        return u16(length) && text(length, out);
    }

    std::optional<Value> value(uint32_t depth)
    {
        uint8_t marker = 0;
        if (!byte(marker))
            return std::nullopt;
        switch (marker) {
        case kNumber: {
            double n = 0;
            return number(n) ? std::optional<Value>(Value(n)) : std::nullopt;
        }
        case kBoolean: {
            uint8_t b = 0;
            return byte(b) ? std::optional<Value>(Value(b != 0)) : std::nullopt;
        }
        case kString: {
            std::string_view s;
            return key(s) ? std::optional<Value>(Value(s)) : std::nullopt;
        }
        case kLongString: {
            uint32_t length = 0;
            std::string_view s;
            return u32(length) && text(length, s) ? std::optional<Value>(Value(s)) : std::nullopt;
        }
        case kNull:
            return Value::null();
        case kUndefined:
        case kUnsupported:
            return Value();
        case kReference: {
            uint16_t index = 0;
            if (!u16(index) || index >= m_references.size())
                return std::nullopt;
            return Value(m_references[index]);
        }
        case kDate: {
            double time = 0;
            uint16_t zone = 0;
            return number(time) && u16(zone) ? std::optional<Value>(date(time)) : std::nullopt;
        }
        case kObject:
            return object(m_vm.newObject(), depth);
        case kTypedObject: {
            // Read as a plain object: the class it names may not exist in this movie.
            std::string_view className;
            return key(className) ? object(m_vm.newObject(), depth) : std::nullopt;
        }
        case kEcmaArray: {
            uint32_t length = 0;
            if (!u32(length))
                return std::nullopt;
            ArrayObject* array = m_vm.newArray();
            const auto read = object(array, depth);
            if (read && length > array->length())
                array->setLength(length);
            return read;
        }
        case kStrictArray:
            return strictArray(depth);
        }
        return std::nullopt;
    }

    // A member of `target`; false when it would make more array storage than a file may.
    bool put(Object& target, std::string_view name, Value v)
    {
        if (name == "__proto__")
            return true;
        if (target.kind() == ObjectKind::Array) {
            if (const auto index = ArrayObject::indexOf(name)) {
                auto& array = static_cast<ArrayObject&>(target);
                const size_t size = array.dense().size();
                // Indices past the array's dense reach go to its table and cost no storage.
                const size_t growth = *index >= size && *index - size <= ArrayObject::kMaxDenseGap ? *index + 1 - size : 0;
                if (!spend(growth))
                    return false;
                const size_t before = array.dense().capacity();
                array.set(*index, std::move(v));
                m_vm.heap().account((array.dense().capacity() - before) * sizeof(Value));
                return true;
            }
        }
        m_vm.define(target, script::String(name), std::move(v), 0);
        return true;
    }

private:
    bool take(size_t count, std::span<const uint8_t>& out)
    {
        if (count > m_bytes.size() - m_pos)
            return false;
        out = m_bytes.subspan(m_pos, count);
        m_pos += count;
        return true;
    }
    bool text(size_t length, std::string_view& out)
    {
        std::span<const uint8_t> bytes;
        if (!take(length, bytes))
            return false;
        out = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return true;
    }
    bool number(double& out)
    {
        uint32_t high = 0, low = 0;
        if (!u32(high) || !u32(low))
            return false;
        out = std::bit_cast<double>(uint64_t(high) << 32 | low);
        return true;
    }
    bool spend(size_t slots)
    {
        if (slots > m_slotsLeft)
            return false;
        m_slotsLeft -= slots;
        return true;
    }

    Value date(double time)
    {
        if (!m_dates.constructor)
            return Value(time);
        const std::array<Value, 1> args{Value(time)};
        return m_vm.construct(Value(static_cast<Object*>(m_dates.constructor)), args);
    }

    // Members up to the end marker. Each takes three bytes at least, so the file's length bounds the loop.
    std::optional<Value> object(Object* target, uint32_t depth)
    {
        if (depth >= kMaxDepth)
            return std::nullopt;
        m_references.push_back(target);
        for (;;) {
            std::string_view name;
            if (!key(name))
                return std::nullopt;
            if (name.empty() && m_pos < m_bytes.size() && m_bytes[m_pos] == kObjectEnd) {
                ++m_pos;
                return Value(target);
            }
            auto member = value(depth + 1);
            if (!member || !put(*target, name, std::move(*member)))
                return std::nullopt;
        }
    }

    std::optional<Value> strictArray(uint32_t depth)
    {
        uint32_t count = 0;
        // Each element takes a byte at least.
        if (!u32(count) || count > m_bytes.size() - m_pos || depth >= kMaxDepth || !spend(count))
            return std::nullopt;
        ArrayObject* array = m_vm.newArray();
        m_references.push_back(array);
        for (uint32_t i = 0; i < count; ++i) {
            auto element = value(depth + 1);
            if (!element)
                return std::nullopt;
            array->push(std::move(*element));
        }
        m_vm.heap().account(array->dense().capacity() * sizeof(Value));
        return Value(static_cast<Object*>(array));
    }

    script::Interpreter& m_vm;
    std::span<const uint8_t> m_bytes;
    const DateClass& m_dates;
    size_t m_pos = 0;
    std::vector<Object*> m_references;
    size_t m_slotsLeft = kMaxArraySlots;
};

} // namespace

bool isAcceptedSharedObjectName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kRefusedCharacters.find(c) != std::string_view::npos)
            return false;
    }
    return std::ranges::none_of(partsOf(name), [](std::string_view part) {
        return part.empty() || part == "." || part == ".." || part.size() > kMaxNamePart;
    });
}

std::filesystem::path SharedObjectStore::userRoot()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return std::filesystem::path(QFile::encodeName(data).toStdString()) / "velquorflash" / "shared-objects";
}

std::optional<std::filesystem::path> SharedObjectStore::fileOf(const std::filesystem::path& moviePath,
                                                               std::string_view name,
                                                               std::optional<std::string_view> localPath) const
{
    if (!isAcceptedSharedObjectName(name))
        return std::nullopt;
    std::vector<std::string> movieParts;
    for (const std::filesystem::path& part : moviePath.relative_path())
        movieParts.push_back(part.string());
    std::vector<std::string> scope = movieParts;
    if (localPath) {
        if (!localPath->starts_with('/'))
            return std::nullopt;
        scope.clear();
        for (const std::string_view part : partsOf(*localPath)) {
            if (part == "." || part == "..")
                return std::nullopt;
            if (!part.empty())
                scope.emplace_back(part);
        }
        // A movie without a path has nothing to be scoped under: its objects stay in memory.
        if (!movieParts.empty()
            && (scope.size() > movieParts.size() || !std::equal(scope.begin(), scope.end(), movieParts.begin())))
            return std::nullopt;
    }
    if (moviePath.empty() || m_root.empty())
        return std::filesystem::path();
    std::filesystem::path file = m_root / "localhost";
    for (const std::string& part : scope)
        file /= part;
    const std::vector<std::string_view> nameParts = partsOf(name);
    for (size_t i = 0; i + 1 < nameParts.size(); ++i)
        file /= nameParts[i];
    return file / (std::string(nameParts.back()) + ".sol");
}

std::optional<std::vector<uint8_t>> SharedObjectStore::read(const std::filesystem::path& file)
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error); // fails for anything but a regular file
    if (error || size > kMaxSharedObjectFile)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes(size);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size)) || in.peek() != EOF)
        return std::nullopt;
    return bytes;
}

bool SharedObjectStore::write(const std::filesystem::path& file, std::span<const uint8_t> bytes)
{
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error)
        return false;
    QSaveFile out(QFile::decodeName(QByteArray::fromStdString(file.string())));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size())) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

void SharedObjectStore::remove(const std::filesystem::path& file)
{
    std::error_code error;
    std::filesystem::remove(file, error);
}

size_t SharedObjectStore::sizeBeside(const std::filesystem::path& file)
{
    size_t total = 0;
    std::error_code error;
    std::filesystem::directory_iterator entry(file.parent_path(), error);
    for (size_t seen = 0; !error && entry != std::filesystem::directory_iterator() && seen < kMaxFolderEntries;
         entry.increment(error), ++seen) {
        if (entry->path() == file || entry->path().extension() != ".sol")
            continue;
        std::error_code sizeError;
        const uintmax_t size = entry->file_size(sizeError);
        if (!sizeError)
            total += size_t(std::min<uintmax_t>(size, kMaxSharedObjectFile * 1024));
    }
    return total;
}

std::optional<std::vector<uint8_t>> encodeSharedObject(script::Interpreter& vm, std::string_view name,
                                                       Object& data, const DateClass& dates)
{
    SolWriter out(vm, dates);
    out.text(std::string_view(reinterpret_cast<const char*>(kMagic.data()), kMagic.size()));
    out.u32(0); // the length, set once known
    out.text(std::string_view(reinterpret_cast<const char*>(kSignature.data()), kSignature.size()));
    if (!out.key(name))
        return std::nullopt;
    out.u32(0); // AMF0
    bool any = false;
    forEachStored(data, [&](std::string_view member, const Value& value) {
        if (out.failed() || !out.key(member))
            return;
        out.value(value, 0);
        out.byte(0);
        any = true;
    });
    if (out.failed())
        return std::nullopt;
    if (!any)
        return std::vector<uint8_t>();
    std::vector<uint8_t>& bytes = out.bytes();
    const auto length = uint32_t(bytes.size() - kLengthEnd);
    for (size_t i = 0; i < 4; ++i)
        bytes[kMagic.size() + i] = uint8_t(length >> (24 - 8 * i));
    return std::move(bytes);
}

Object* decodeSharedObject(script::Interpreter& vm, std::span<const uint8_t> bytes, const DateClass& dates)
{
    // The objects read so far are held only here until the data object is handed back.
    const script::Heap::NoCollect holding(vm.heap());
    SolReader in(vm, bytes, dates);
    if (!in.header())
        return nullptr;
    Object* data = vm.newObject();
    while (!in.atEnd()) {
        std::string_view name;
        uint8_t end = 1;
        auto value = in.key(name) ? in.value(0) : std::nullopt;
        if (!value || !in.byte(end) || end != 0 || !in.put(*data, name, std::move(*value)))
            return nullptr;
    }
    return data;
}

} // namespace flash
