// Shared string buffers: allocation, reference counts and the hashes cached for lookups.
#include "flash/script/String.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace flash::script {

struct StringRep {
    uint32_t refs;
    uint32_t size;
    mutable uint32_t hash;        // 0 until computed
    mutable uint32_t foldedHash;  // 0 until computed
    char text[1];
};

namespace {

constexpr uint32_t kNoHash = 0;

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

uint32_t hashBytes(std::string_view text, bool folded)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= folded ? foldAscii(c) : c;
        h *= 16777619u;
    }
    return h == kNoHash ? 1 : h;
}

StringRep* makeRep(std::string_view text)
{
    if (text.empty())
        return nullptr;
    void* memory = std::malloc(offsetof(StringRep, text) + text.size() + 1);
    if (!memory)
        throw std::bad_alloc();
    auto* rep = static_cast<StringRep*>(memory);
    rep->refs = 1;
    rep->size = static_cast<uint32_t>(text.size());
    rep->hash = kNoHash;
    rep->foldedHash = kNoHash;
    std::memcpy(rep->text, text.data(), text.size());
    rep->text[text.size()] = '\0';
    return rep;
}

} // namespace

bool equalsFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(a[i])) != foldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

String::String(std::string_view text) : m_rep(makeRep(text)) { }

String::String(const String& other) : m_rep(other.m_rep) { retainRep(m_rep); }

String& String::operator=(const String& other)
{
    retainRep(other.m_rep);
    releaseRep(m_rep);
    m_rep = other.m_rep;
    return *this;
}

String& String::operator=(String&& other) noexcept
{
    if (this != &other) {
        releaseRep(m_rep);
        m_rep = other.m_rep;
        other.m_rep = nullptr;
    }
    return *this;
}

String::~String() { releaseRep(m_rep); }

std::string_view String::view() const { return viewOf(m_rep); }

size_t String::size() const { return m_rep ? m_rep->size : 0; }

uint32_t String::hash() const
{
    if (!m_rep)
        return hashBytes({}, false);
    if (m_rep->hash == kNoHash)
        m_rep->hash = hashBytes(view(), false);
    return m_rep->hash;
}

uint32_t String::foldedHash() const
{
    if (!m_rep)
        return hashBytes({}, true);
    if (m_rep->foldedHash == kNoHash)
        m_rep->foldedHash = hashBytes(view(), true);
    return m_rep->foldedHash;
}

bool String::differentBufferEquals(const String& other, CaseMode mode) const
{
    if (size() != other.size())
        return false;
    if (mode == CaseMode::Sensitive)
        return hash() == other.hash() && view() == other.view();
    return foldedHash() == other.foldedHash() && equalsFolded(view(), other.view());
}

bool String::equals(std::string_view other, CaseMode mode) const
{
    return mode == CaseMode::Sensitive ? view() == other : equalsFolded(view(), other);
}

StringRep* String::releaseRep()
{
    StringRep* rep = m_rep;
    m_rep = nullptr;
    return rep;
}

String String::adoptRep(StringRep* rep)
{
    String s;
    s.m_rep = rep;
    return s;
}

void String::retainRep(StringRep* rep)
{
    if (rep)
        ++rep->refs;
}

void String::releaseRep(StringRep* rep)
{
    if (rep && --rep->refs == 0)
        std::free(rep);
}

std::string_view String::viewOf(const StringRep* rep)
{
    return rep ? std::string_view(rep->text, rep->size) : std::string_view();
}

} // namespace flash::script
