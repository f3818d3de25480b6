// XML text read the lenient way movies rely on (any number of top-level
// nodes, text outside elements, no DTD processing), reporting the first fault
// with the status numbers scripts test, and XML text written back.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace flash::script {

// XML.status: 0, or the first fault met. Everything read before it stays delivered.
enum class XmlStatus : int8_t {
    Ok = 0,
    CdataNotTerminated = -2,
    DeclarationNotTerminated = -3,
    DoctypeNotTerminated = -4,
    CommentNotTerminated = -5,
    MalformedElement = -6,
    OutOfMemory = -7, // a limit below was reached
    AttributeNotTerminated = -8,
    StartWithoutEnd = -9,
    EndWithoutStart = -10,
};

// How character references beyond ASCII are written: UTF-8, or one byte when it fits.
enum class XmlCharset : uint8_t { Utf8, Latin1 };

struct XmlParseOptions {
    XmlCharset charset = XmlCharset::Utf8;
    uint32_t maxDepth = 1024;      // elements open at once
    uint32_t maxItems = 1u << 20;  // elements, text runs and attributes together
};

struct XmlAttribute {
    std::string_view name;
    std::string value; // entities decoded
};

enum class XmlTextKind : uint8_t { Parsed, Cdata };

// What the parser found, in document order. An empty element is a start and an end.
class XmlSink {
public:
    virtual ~XmlSink() = default;
    virtual void startElement(std::string_view name, std::span<const XmlAttribute> attributes) = 0;
    virtual void endElement() = 0;
    // A run of text between markup (entities decoded), or a CDATA section's content as it stands.
    virtual void text(std::string text, XmlTextKind kind) = 0;
    // "<?xml ...?>" and "<!DOCTYPE ...>", whole.
    virtual void declaration(std::string_view text) = 0;
    virtual void docType(std::string_view text) = 0;
};

[[nodiscard]] XmlStatus parseXml(std::string_view source, XmlSink& sink, const XmlParseOptions& options = {});

// &lt; &gt; &amp; &quot; &apos; &#NN; &#xNN; decoded; anything else that starts with '&' is kept as it stands.
[[nodiscard]] std::string decodeXmlEntities(std::string_view text, XmlCharset charset);

// & < > " ' written as entities, for text and attribute values alike.
void appendXmlEscaped(std::string& out, std::string_view text);

} // namespace flash::script
