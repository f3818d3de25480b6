// The faces of one movie's text: embedded fonts found by name and style (or by
// their export name), system fonts for everything else, with the generic names
// _sans, _serif and _typewriter mapped to installed families and a Chinese
// face for characters the chosen one lacks.
#pragma once

#include "flash/model/Movie.h"
#include "flash/text/FontFace.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace flash::text {

class FontLibrary {
public:
    explicit FontLibrary(std::shared_ptr<const Movie> movie);

    [[nodiscard]] const Movie& movie() const { return *m_movie; }
    // An embedded face of that name and style (the nearest style when only another is embedded); null if none.
    [[nodiscard]] const FontFace* embeddedFace(const std::string& name, bool bold, bool italic);
    // A system face; unknown names fall back on a family of the same kind.
    [[nodiscard]] const FontFace* deviceFace(const std::string& name, bool bold, bool italic);
    // The face for characters the chosen system face lacks (Chinese text among them).
    [[nodiscard]] const FontFace* fallbackFace(bool bold, bool italic);

private:
    using Key = std::tuple<std::string, bool, bool>;
    [[nodiscard]] const FontDef* findEmbedded(const std::string& name, bool bold, bool italic) const;

    std::shared_ptr<const Movie> m_movie;
    std::map<Key, std::unique_ptr<FontFace>> m_embedded; // null entries: looked for, not there
    std::map<Key, std::unique_ptr<FontFace>> m_device;
};

// The installed family a name stands for ("_sans" is a sans-serif family...).
[[nodiscard]] std::string deviceFamily(const std::string& name);

} // namespace flash::text
