// Immutable, shared script strings: bytes (UTF-8 from SWF 6 on, the movie's
// code page before), cheap to copy, with cached hashes for property lookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace flash::script {

// How names compare: movies of SWF 6 and older ignore ASCII case in identifiers.
enum class CaseMode : uint8_t { Insensitive, Sensitive };

[[nodiscard]] inline CaseMode caseModeFor(int swfVersion)
{
    return swfVersion >= 7 ? CaseMode::Sensitive : CaseMode::Insensitive;
}

struct StringRep;

// A null representation is the empty string, so a default String costs nothing.
// Copies share one reference-counted buffer; the text never changes after creation.
class String {
public:
    String() = default;
    String(std::string_view text);
    String(const char* text) : String(std::string_view(text)) { }
    String(const std::string& text) : String(std::string_view(text)) { }
    String(const String& other);
    String(String&& other) noexcept : m_rep(other.m_rep) { other.m_rep = nullptr; }
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    ~String();

    [[nodiscard]] std::string_view view() const;
    [[nodiscard]] std::string toStd() const { return std::string(view()); }
    [[nodiscard]] size_t size() const;
    [[nodiscard]] bool isEmpty() const { return size() == 0; }
    [[nodiscard]] const char* data() const { return view().data(); }

    // Hash of the exact bytes, and of the bytes with ASCII letters folded to lower case.
    [[nodiscard]] uint32_t hash() const;
    [[nodiscard]] uint32_t foldedHash() const;

    // Same text; under CaseMode::Insensitive, ASCII letters compare without case.
    [[nodiscard]] bool equals(const String& other, CaseMode mode) const
    {
        return m_rep == other.m_rep || differentBufferEquals(other, mode);
    }
    [[nodiscard]] bool equals(std::string_view other, CaseMode mode) const;
    [[nodiscard]] bool equals(const char* other, CaseMode mode) const { return equals(std::string_view(other), mode); }
    [[nodiscard]] bool equals(const std::string& other, CaseMode mode) const { return equals(std::string_view(other), mode); }
    friend bool operator==(const String& a, const String& b) { return a.equals(b, CaseMode::Sensitive); }
    [[nodiscard]] bool sameBuffer(const String& other) const { return m_rep == other.m_rep; }

    // For Value, which stores the representation in its union.
    [[nodiscard]] StringRep* releaseRep();
    static String adoptRep(StringRep* rep);
    static void retainRep(StringRep* rep);
    static void releaseRep(StringRep* rep);
    static std::string_view viewOf(const StringRep* rep);

private:
    [[nodiscard]] bool differentBufferEquals(const String& other, CaseMode mode) const;

    StringRep* m_rep = nullptr;
};

[[nodiscard]] bool equalsFolded(std::string_view a, std::string_view b);

} // namespace flash::script
