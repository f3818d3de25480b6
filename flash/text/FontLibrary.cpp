// Finding faces by name and style, each made once.
#include "flash/text/FontLibrary.h"

#include <QFont>
#include <QGuiApplication>
#include <algorithm>

namespace flash::text {
namespace {

// A movie can ask for any number of names; past this many, the default face answers.
constexpr size_t kMaxFaces = 256;
const char* const kFallbackFamily = "AR PL UMing CN";

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool canUseSystemFonts()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

enum class Kind : uint8_t { Serif, Sans, Mono };

Kind kindOf(const std::string& family)
{
    const std::string name = lowered(family);
    if (name.find("mono") != std::string::npos || name.find("courier") != std::string::npos
        || name.find("typewriter") != std::string::npos || name == "consolas")
        return Kind::Mono;
    if (name.find("sans") != std::string::npos || name.find("arial") != std::string::npos || name == "helvetica"
        || name == "verdana" || name == "tahoma" || name == "trebuchet ms" || name == "century gothic")
        return Kind::Sans;
    return Kind::Serif;
}

// Families asked for first, then installed ones of the same kind and of like
// metrics (so that text measures close to what the movie's author saw).
QStringList familiesFor(const std::string& family)
{
    QStringList families{QString::fromStdString(family)};
    switch (kindOf(family)) {
    case Kind::Mono: families << "Nimbus Mono PS" << "Liberation Mono" << "DejaVu Sans Mono"; break;
    case Kind::Sans: families << "Nimbus Sans" << "Liberation Sans" << "DejaVu Sans"; break;
    case Kind::Serif: families << "Nimbus Roman" << "Liberation Serif" << "DejaVu Serif"; break;
    }
    return families;
}

QRawFont loadRaw(const std::string& family, bool bold, bool italic)
{
    if (!canUseSystemFonts())
        return {};
    QFont font;
    font.setFamilies(familiesFor(family));
    font.setPixelSize(int(FontFace::kReferenceSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    const Kind kind = kindOf(family);
    font.setStyleHint(kind == Kind::Mono ? QFont::Monospace : kind == Kind::Sans ? QFont::SansSerif : QFont::Serif);
    return QRawFont::fromFont(font);
}

} // namespace

std::string deviceFamily(const std::string& name)
{
    const std::string key = lowered(name);
    if (key == "_sans" || key.empty())
        return "Arial";
    if (key == "_serif")
        return "Times New Roman";
    if (key == "_typewriter")
        return "Courier New";
    // Chinese names of the common Windows faces.
    if (name == "宋体" || name == "新宋体" || key == "simsun" || name == "黑体" || key == "simhei")
        return kFallbackFamily;
    return name;
}

FontLibrary::FontLibrary(std::shared_ptr<const Movie> movie)
    : m_movie(movie ? std::move(movie) : std::make_shared<const Movie>())
{
}

const FontDef* FontLibrary::findEmbedded(const std::string& name, bool bold, bool italic) const
{
    const FontDef* nearest = nullptr;
    int nearestScore = -1;
    const auto consider = [&](const FontDef& font) {
        if (font.glyphs.empty())
            return;
        const int score = (font.bold == bold ? 2 : 0) + (font.italic == italic ? 1 : 0);
        if (score > nearestScore) {
            nearest = &font;
            nearestScore = score;
        }
    };
    for (const auto& [id, character] : m_movie->dictionary) {
        const auto* font = std::get_if<std::shared_ptr<const FontDef>>(&character);
        if (font && *font && lowered((*font)->name) == lowered(name))
            consider(**font);
    }
    if (!nearest) {
        // A font may be known by the name it is exported under.
        for (const auto& [linkage, id] : m_movie->exports) {
            if (lowered(linkage) != lowered(name))
                continue;
            if (const auto font = m_movie->find<FontDef>(id))
                consider(*font);
        }
    }
    return nearest;
}

const FontFace* FontLibrary::embeddedFace(const std::string& name, bool bold, bool italic)
{
    Key key{lowered(name), bold, italic};
    if (const auto it = m_embedded.find(key); it != m_embedded.end())
        return it->second.get();
    const FontDef* font = m_embedded.size() < kMaxFaces ? findEmbedded(name, bold, italic) : nullptr;
    auto& slot = m_embedded[std::move(key)];
    if (font)
        slot = std::make_unique<FontFace>(*font);
    return slot.get();
}

const FontFace* FontLibrary::deviceFace(const std::string& name, bool bold, bool italic)
{
    Key key{lowered(name), bold, italic};
    if (const auto it = m_device.find(key); it != m_device.end())
        return it->second.get();
    if (m_device.size() >= kMaxFaces)
        return m_device.begin()->second.get();
    auto& slot = m_device[std::move(key)];
    slot = std::make_unique<FontFace>(loadRaw(deviceFamily(name), bold, italic));
    return slot.get();
}

const FontFace* FontLibrary::fallbackFace(bool bold, bool italic)
{
    return deviceFace(kFallbackFamily, bold, italic);
}

} // namespace flash::text
