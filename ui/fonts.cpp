#include "ui/fonts.h"

#include "ui/twips.h"

#include <QStringList>

namespace vf::ui {
namespace {

const QString kDesignFamily = QStringLiteral("宋体");
const QStringList kSongFaces = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("Noto Serif CJK SC")};

} // namespace

void installDesignFontSubstitutions()
{
    for (const QString& family : {kDesignFamily, QStringLiteral("SimSun")}) {
        if (QFont::substitutes(family) != kSongFaces)
            QFont::insertSubstitutions(family, kSongFaces);
    }
}

QFont designFont(double points)
{
    installDesignFontSubstitutions();
    QFont font(kDesignFamily);
    font.setPixelSize(pointsToPixels(points));
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace vf::ui
