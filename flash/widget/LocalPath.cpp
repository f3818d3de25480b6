#include "flash/widget/LocalPath.h"

#include <cstdint>

namespace flash {
namespace {

// Byte b (0x80-0xFF) that is not UTF-8 stands for itself as U+DC00 + b.
constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool isContinuation(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, or 0 when none starts there.
// Overlong forms, encoded surrogates and code points past U+10FFFF are not
// valid: their bytes are escaped one by one like any other stray byte.
qsizetype validSequenceLength(const uint8_t* bytes, qsizetype size, qsizetype at)
{
    const uint8_t lead = bytes[at];
    qsizetype length = 0;
    uint8_t secondMin = 0x80;
    uint8_t secondMax = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondMin = 0xA0;
        else if (lead == 0xED)
            secondMax = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondMin = 0x90;
        else if (lead == 0xF4)
            secondMax = 0x8F;
    } else {
        return 0;
    }
    if (size - at < length)
        return 0;
    const uint8_t second = bytes[at + 1];
    if (second < secondMin || second > secondMax)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!isContinuation(bytes[at + i]))
            return 0;
    }
    return length;
}

char32_t decodeSequence(const uint8_t* sequence, qsizetype length)
{
    static constexpr uint8_t kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t codePoint = sequence[0] & kLeadBits[length];
    for (qsizetype i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (sequence[i] & 0x3F);
    return codePoint;
}

// Writes the code point as UTF-8 at `out`; returns the end of what it wrote.
char* writeUtf8(char* out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        *out++ = char(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = char(0xC0 | (codePoint >> 6));
        *out++ = char(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = char(0xE0 | (codePoint >> 12));
        *out++ = char(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = char(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = char(0xF0 | (codePoint >> 18));
        *out++ = char(0x80 | ((codePoint >> 12) & 0x3F));
        *out++ = char(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = char(0x80 | (codePoint & 0x3F));
    }
    return out;
}

} // namespace

QString pathFromLocalBytes(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const qsizetype size = bytes.size();
    // Every byte gives at most one UTF-16 unit.
    QString text(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const begin = out;
    for (qsizetype at = 0; at < size;) {
        const qsizetype length = validSequenceLength(data, size, at);
        if (length == 0) {
            *out++ = char16_t(kEscapeBase + data[at]);
            ++at;
            continue;
        }
        // Unlike Qt's own decoder, a leading byte order mark is kept: it is
        // part of the name.
        const char32_t codePoint = decodeSequence(data + at, length);
        if (QChar::requiresSurrogates(codePoint)) {
            *out++ = QChar::highSurrogate(codePoint);
            *out++ = QChar::lowSurrogate(codePoint);
        } else {
            *out++ = char16_t(codePoint);
        }
        at += length;
    }
    text.truncate(out - begin);
    return text;
}

QByteArray localPathBytes(const QString& path)
{
    const qsizetype size = path.size();
    // Every UTF-16 unit gives at most three bytes (a pair gives four).
    QByteArray bytes(size * 3, Qt::Uninitialized);
    char* out = bytes.data();
    char* const begin = out;
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t unit = path[at].unicode();
        if (unit >= kFirstEscape && unit <= kLastEscape) {
            *out++ = char(unit - kEscapeBase);
        } else if (QChar::isHighSurrogate(unit) && at + 1 < size && path[at + 1].isLowSurrogate()) {
            out = writeUtf8(out, QChar::surrogateToUcs4(unit, path[at + 1].unicode()));
            ++at;
        } else if (QChar::isSurrogate(unit)) {
            out = writeUtf8(out, QChar::ReplacementCharacter);
        } else {
            out = writeUtf8(out, unit);
        }
    }
    bytes.truncate(out - begin);
    return bytes;
}

} // namespace flash
