// A fluent builder of ActionScript 1/2 action blocks: one method per action,
// typed Push values, labels for branches, nested bodies whose sizes it computes.
//
//   Avm1Assembler a;
//   Label loop = a.newLabel(), done = a.newLabel();
//   a.push("i", 0).setVariable();
//   a.bind(loop).push("i").getVariable().push(3).less2().notOp().ifOp(done);
//   a.push("i").getVariable().trace().push("i", "i").getVariable().increment().setVariable().jump(loop);
//   a.bind(done);
//   std::vector<uint8_t> block = a.bytes(); // End appended
//
// Methods are named after the actions; where the name is a C++ keyword or
// operator word it takes the suffix Op (andOp, notOp, ifOp, returnOp, ...).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace swfw {

// One value of a Push action, in the type the file stores it as.
class PushValue {
public:
    enum class Type : uint8_t {
        String = 0, Float = 1, Null = 2, Undefined = 3, Register = 4,
        Boolean = 5, Double = 6, Int = 7, Constant8 = 8, Constant16 = 9,
    };

    PushValue(const char* text) : PushValue(std::string_view(text)) {}
    PushValue(std::string_view text) : m_type(Type::String), m_text(text) {}
    PushValue(const std::string& text) : PushValue(std::string_view(text)) {}
    PushValue(int32_t value) : m_type(Type::Int), m_integer(value) {}
    PushValue(double value) : m_type(Type::Double), m_number(value) {}
    PushValue(bool value) : m_type(Type::Boolean), m_integer(value ? 1 : 0) {}

    [[nodiscard]] static PushValue ofType(Type type, int32_t integer = 0, double number = 0);

    [[nodiscard]] Type type() const { return m_type; }
    [[nodiscard]] const std::string& text() const { return m_text; }
    [[nodiscard]] int32_t integer() const { return m_integer; }
    [[nodiscard]] double number() const { return m_number; }

    // The type byte and its data, as they stand inside a Push payload.
    void encodeInto(std::vector<uint8_t>& out) const;

private:
    Type m_type;
    std::string m_text;
    int32_t m_integer = 0;
    double m_number = 0;
};

[[nodiscard]] inline PushValue reg(uint8_t index) { return PushValue::ofType(PushValue::Type::Register, index); }
// A constant pool index, stored in one byte when it fits.
[[nodiscard]] inline PushValue constant(uint16_t index)
{
    return PushValue::ofType(index < 256 ? PushValue::Type::Constant8 : PushValue::Type::Constant16, index);
}
[[nodiscard]] inline PushValue constant16(uint16_t index) { return PushValue::ofType(PushValue::Type::Constant16, index); }
[[nodiscard]] inline PushValue f32(float value) { return PushValue::ofType(PushValue::Type::Float, 0, value); }
inline const PushValue Null = PushValue::ofType(PushValue::Type::Null);
inline const PushValue Undefined = PushValue::ofType(PushValue::Type::Undefined);

// A branch target inside one assembler; made by newLabel(), placed by bind().
struct Label {
    uint32_t owner = 0;
    uint32_t index = 0;
};

// DefineFunction2 flags, as the u16 field holds them.
namespace function2 {
inline constexpr uint16_t PreloadThis = 0x0001;
inline constexpr uint16_t SuppressThis = 0x0002;
inline constexpr uint16_t PreloadArguments = 0x0004;
inline constexpr uint16_t SuppressArguments = 0x0008;
inline constexpr uint16_t PreloadSuper = 0x0010;
inline constexpr uint16_t SuppressSuper = 0x0020;
inline constexpr uint16_t PreloadRoot = 0x0040;
inline constexpr uint16_t PreloadParent = 0x0080;
inline constexpr uint16_t PreloadGlobal = 0x0100;
} // namespace function2

// A DefineFunction2 parameter: the register it lands in (0: none, it stays a named variable).
struct RegisterParam {
    uint8_t reg = 0;
    std::string name;
};

// What GotoFrame2 does after the jump.
enum class AfterGoto : uint8_t { Stop = 0, Play = 1 };

// GetURL2's flag byte: how variables are sent, what the target names, what is loaded.
enum class UrlMethod : uint8_t { None = 0, Get = 1, Post = 2 };
enum class UrlTarget : uint8_t { Window = 0x00, Sprite = 0x40 };
enum class UrlLoad : uint8_t { Movie = 0x00, Variables = 0x80 };

struct CatchRegister {
    uint8_t reg = 0;
};
using CatchTarget = std::variant<std::string, CatchRegister>;

struct TryParts;

class Avm1Assembler {
public:
    Avm1Assembler();

    // SWF 3 actions.
    Avm1Assembler& nextFrame() { return op(0x04); }
    Avm1Assembler& prevFrame() { return op(0x05); }
    Avm1Assembler& play() { return op(0x06); }
    Avm1Assembler& stop() { return op(0x07); }
    Avm1Assembler& toggleQuality() { return op(0x08); }
    Avm1Assembler& stopSounds() { return op(0x09); }
    Avm1Assembler& gotoFrame(uint16_t frame); // 0-based
    Avm1Assembler& getUrl(std::string_view url, std::string_view target);
    Avm1Assembler& waitForFrame(uint16_t frame, uint8_t skipActions);
    Avm1Assembler& setTarget(std::string_view target);
    Avm1Assembler& gotoLabel(std::string_view label);

    // SWF 4 actions.
    Avm1Assembler& add() { return op(0x0A); }
    Avm1Assembler& subtract() { return op(0x0B); }
    Avm1Assembler& multiply() { return op(0x0C); }
    Avm1Assembler& divide() { return op(0x0D); }
    Avm1Assembler& equals() { return op(0x0E); }
    Avm1Assembler& less() { return op(0x0F); }
    Avm1Assembler& andOp() { return op(0x10); }
    Avm1Assembler& orOp() { return op(0x11); }
    Avm1Assembler& notOp() { return op(0x12); }
    Avm1Assembler& stringEquals() { return op(0x13); }
    Avm1Assembler& stringLength() { return op(0x14); }
    Avm1Assembler& stringExtract() { return op(0x15); }
    Avm1Assembler& pop() { return op(0x17); }
    Avm1Assembler& toInteger() { return op(0x18); }
    Avm1Assembler& getVariable() { return op(0x1C); }
    Avm1Assembler& setVariable() { return op(0x1D); }
    Avm1Assembler& setTarget2() { return op(0x20); }
    Avm1Assembler& stringAdd() { return op(0x21); }
    Avm1Assembler& getProperty() { return op(0x22); }
    Avm1Assembler& setProperty() { return op(0x23); }
    Avm1Assembler& cloneSprite() { return op(0x24); }
    Avm1Assembler& removeSprite() { return op(0x25); }
    Avm1Assembler& trace() { return op(0x26); }
    Avm1Assembler& startDrag() { return op(0x27); }
    Avm1Assembler& endDrag() { return op(0x28); }
    Avm1Assembler& stringLess() { return op(0x29); }
    Avm1Assembler& randomNumber() { return op(0x30); }
    Avm1Assembler& mbStringLength() { return op(0x31); }
    Avm1Assembler& charToAscii() { return op(0x32); }
    Avm1Assembler& asciiToChar() { return op(0x33); }
    Avm1Assembler& getTime() { return op(0x34); }
    Avm1Assembler& mbStringExtract() { return op(0x35); }
    Avm1Assembler& mbCharToAscii() { return op(0x36); }
    Avm1Assembler& mbAsciiToChar() { return op(0x37); }
    Avm1Assembler& push(std::span<const PushValue> values);
    template<typename... Values>
    Avm1Assembler& push(const Values&... values)
    {
        const PushValue list[] = {PushValue(values)...};
        return push(std::span<const PushValue>(list));
    }
    Avm1Assembler& jump(Label target);
    Avm1Assembler& jump(int16_t offset); // from the next action, unchecked
    Avm1Assembler& ifOp(Label target);
    Avm1Assembler& ifOp(int16_t offset);
    Avm1Assembler& call() { return action(0x9E, {}); }
    Avm1Assembler& getUrl2(UrlMethod method = UrlMethod::None, UrlTarget target = UrlTarget::Window,
                           UrlLoad load = UrlLoad::Movie);
    Avm1Assembler& gotoFrame2(AfterGoto after, std::optional<uint16_t> sceneBias = {});
    Avm1Assembler& waitForFrame2(uint8_t skipActions);

    // SWF 5 actions.
    Avm1Assembler& deleteOp() { return op(0x3A); }
    Avm1Assembler& delete2() { return op(0x3B); }
    Avm1Assembler& defineLocal() { return op(0x3C); }
    Avm1Assembler& callFunction() { return op(0x3D); }
    Avm1Assembler& returnOp() { return op(0x3E); }
    Avm1Assembler& modulo() { return op(0x3F); }
    Avm1Assembler& newObject() { return op(0x40); }
    Avm1Assembler& defineLocal2() { return op(0x41); }
    Avm1Assembler& initArray() { return op(0x42); }
    Avm1Assembler& initObject() { return op(0x43); }
    Avm1Assembler& typeOf() { return op(0x44); }
    Avm1Assembler& targetPath() { return op(0x45); }
    Avm1Assembler& enumerate() { return op(0x46); }
    Avm1Assembler& add2() { return op(0x47); }
    Avm1Assembler& less2() { return op(0x48); }
    Avm1Assembler& equals2() { return op(0x49); }
    Avm1Assembler& toNumber() { return op(0x4A); }
    Avm1Assembler& toString() { return op(0x4B); }
    Avm1Assembler& pushDuplicate() { return op(0x4C); }
    Avm1Assembler& stackSwap() { return op(0x4D); }
    Avm1Assembler& getMember() { return op(0x4E); }
    Avm1Assembler& setMember() { return op(0x4F); }
    Avm1Assembler& increment() { return op(0x50); }
    Avm1Assembler& decrement() { return op(0x51); }
    Avm1Assembler& callMethod() { return op(0x52); }
    Avm1Assembler& newMethod() { return op(0x53); }
    Avm1Assembler& bitAnd() { return op(0x60); }
    Avm1Assembler& bitOr() { return op(0x61); }
    Avm1Assembler& bitXor() { return op(0x62); }
    Avm1Assembler& bitLShift() { return op(0x63); }
    Avm1Assembler& bitRShift() { return op(0x64); }
    Avm1Assembler& bitURShift() { return op(0x65); }
    Avm1Assembler& storeRegister(uint8_t index);
    Avm1Assembler& constantPool(const std::vector<std::string>& strings);
    Avm1Assembler& defineFunction(std::string_view name, const std::vector<std::string>& params,
                                  const Avm1Assembler& body);
    Avm1Assembler& with(const Avm1Assembler& body);

    // SWF 6 actions.
    Avm1Assembler& instanceOf() { return op(0x54); }
    Avm1Assembler& enumerate2() { return op(0x55); }
    Avm1Assembler& strictEquals() { return op(0x66); }
    Avm1Assembler& greater() { return op(0x67); }
    Avm1Assembler& stringGreater() { return op(0x68); }

    // SWF 7 actions.
    Avm1Assembler& throwOp() { return op(0x2A); }
    Avm1Assembler& castOp() { return op(0x2B); }
    Avm1Assembler& implementsOp() { return op(0x2C); }
    Avm1Assembler& extends() { return op(0x69); }
    Avm1Assembler& defineFunction2(std::string_view name, uint8_t registerCount, uint16_t flags,
                                   const std::vector<RegisterParam>& params, const Avm1Assembler& body);
    Avm1Assembler& tryOp(const TryParts& parts);

    // Branch targets. A label is bound once; jumps to it may come before or after.
    [[nodiscard]] Label newLabel();
    Avm1Assembler& bind(Label label);

    // Escape hatches for hostile input: any code with any payload, or plain bytes.
    Avm1Assembler& op(uint8_t code);
    Avm1Assembler& action(uint8_t code, std::span<const uint8_t> payload); // long form for codes >= 0x80
    Avm1Assembler& raw(std::span<const uint8_t> bytes);
    Avm1Assembler& raw(std::initializer_list<uint8_t> bytes) { return raw(std::span<const uint8_t>(bytes.begin(), bytes.size())); }
    // Appends another block's actions (its labels resolved on their own).
    Avm1Assembler& append(const Avm1Assembler& other);

    // Bytes written so far, labels not yet resolved.
    [[nodiscard]] size_t size() const { return m_code.size(); }
    // The actions with branches resolved, without the End action (a function or With body).
    [[nodiscard]] std::vector<uint8_t> code() const;
    // The actions followed by End, ready for a DoAction.
    [[nodiscard]] std::vector<uint8_t> bytes() const;

private:
    struct Fixup {
        size_t at = 0;       // offset of the s16 field
        uint32_t label = 0;
    };

    Avm1Assembler& branch(uint8_t code, Label target);
    Avm1Assembler& branch(uint8_t code, int16_t offset);
    Avm1Assembler& withBody(uint8_t code, std::span<const uint8_t> header, std::span<const uint8_t> body);
    void checkLabel(Label label) const;

    uint32_t m_id;
    std::vector<uint8_t> m_code;
    std::vector<std::optional<size_t>> m_labels; // bound offset of each label
    std::vector<Fixup> m_fixups;
};

// The blocks of a Try action. A catch body catches into a variable or a register;
// without one, only the try and finally blocks are written.
struct TryParts {
    Avm1Assembler body;
    CatchTarget catchInto = std::string();
    std::optional<Avm1Assembler> catchBody;
    std::optional<Avm1Assembler> finallyBody;
};

} // namespace swfw
