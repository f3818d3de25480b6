#include "about/fitted_label.h"

#include <QFontMetrics>
#include <QLabel>

namespace vf::about {
namespace {

// Narrower than this a face is no longer legible.
constexpr int kNarrowestStretch = 50;

} // namespace

void narrowToWidth(QLabel& label, int width)
{
    QFont font = label.font();
    const int natural = QFontMetrics(font).horizontalAdvance(label.text());
    if (natural <= width || natural == 0) {
        label.adjustSize();
        return;
    }
    // Glyph advances are whole pixels, so the first guess is refined step by
    // step until the text fits.
    for (int stretch = std::max(kNarrowestStretch, 100 * width / natural + 1); stretch >= kNarrowestStretch;
         --stretch) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(label.text()) <= width)
            break;
    }
    label.setFont(font);
    label.adjustSize();
}

} // namespace vf::about
