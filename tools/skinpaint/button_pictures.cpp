#include "button_pictures.h"

#include "palette.h"
#include "symbols.h"
#include "tiles.h"

#include <QPainter>

#include <array>

namespace skinpaint {
namespace {

enum class Tile { Light, Upright, Dark, Play };

struct ButtonArt {
    const char* normalHolder;
    const char* hoverHolder;
    Tile tile;
    SymbolPainter normalSymbol;
    SymbolPainter hoverSymbol;
};

constexpr std::array kButtons{
    ButtonArt{"about1", "ab2", Tile::Dark, drawLetterA, drawLetterA},
    ButtonArt{"small1", "small2", Tile::Dark, drawMinimiseBar, drawMinimiseBar},
    ButtonArt{"close1", "close2", Tile::Dark, drawCross, drawCross},
    ButtonArt{"list1", "list2", Tile::Upright, drawListTriangle, drawListTriangle},
    ButtonArt{"qian1", "qian2", Tile::Light, drawQuanCharacter, drawQuanCharacter},
    ButtonArt{"ying1", "ying2", Tile::Light, drawYinCharacter, drawYinCharacter},
    ButtonArt{"openfile1", "openfile2", Tile::Light, drawDocument, drawDocument},
    ButtonArt{"opendir1", "opendir2", Tile::Light, drawFolderOutline, drawFolderFilled},
    ButtonArt{"play1", "play2", Tile::Play, drawPlayTriangle, drawPlayTriangle},
    ButtonArt{"ht1", "ht2", Tile::Light, drawStepBack, drawStepBack},
    ButtonArt{"qj1", "qj2", Tile::Light, drawStepForward, drawStepForward},
    ButtonArt{"kht1", "kht2", Tile::Light, drawFastBack, drawFastBack},
    ButtonArt{"kqj1", "kqj2", Tile::Light, drawFastForward, drawFastForward},
    ButtonArt{"stop1", "stop2", Tile::Light, drawStopSquare, drawStopSquare},
};

QImage paintTile(Tile tile, int width, int height)
{
    switch (tile) {
    case Tile::Light:
        return lightTile(width, height);
    case Tile::Upright:
        return uprightLightTile(width, height);
    case Tile::Dark:
        return darkTile(width, height);
    case Tile::Play:
        return playTile(width, height);
    }
    return {};
}

QColor normalSymbolColor(Tile tile)
{
    switch (tile) {
    case Tile::Dark:
        return kSymbolWhite;
    case Tile::Play:
        return kPlaySymbol;
    case Tile::Light:
    case Tile::Upright:
        break;
    }
    return kSymbolGrey;
}

} // namespace

std::optional<QImage> buttonPicture(const QString& holder, int width, int height)
{
    for (const ButtonArt& art : kButtons) {
        const bool normal = holder == QLatin1String(art.normalHolder);
        const bool hover = holder == QLatin1String(art.hoverHolder);
        if (!normal && !hover)
            continue;
        QImage picture = paintTile(art.tile, width, height);
        QPainter painter(&picture);
        if (normal)
            art.normalSymbol(painter, picture.size(), normalSymbolColor(art.tile));
        else
            art.hoverSymbol(painter, picture.size(), kSymbolHover);
        return picture;
    }
    return std::nullopt;
}

} // namespace skinpaint
