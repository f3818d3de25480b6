// "demo-clock.swf": an analogue clock that its script draws with the drawing
// API and sets to the machine's time on every frame: the face, the twelve
// hour marks and the three hands are all made by ActionScript.
#include "DemoMovies.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

namespace demo {

using namespace swfw;

namespace {

constexpr const char* kClockScript = R"(
var cx = 160, cy = 160, radius = 130;

function circle(mc, x, y, r) {
    // Eight quadratic arcs, each a 45 degree slice of the circle.
    var step = Math.PI / 4;
    var reach = r / Math.cos(step / 2);
    mc.moveTo(x + r, y);
    for (var i = 1; i <= 8; i++) {
        var a = i * step;
        mc.curveTo(x + reach * Math.cos(a - step / 2), y + reach * Math.sin(a - step / 2),
                   x + r * Math.cos(a), y + r * Math.sin(a));
    }
}

var face = this.createEmptyMovieClip("face", 1);
face.lineStyle(6, 0x2b2d42, 100);
face.beginGradientFill("radial", [0xffffff, 0xe9ecef], [100, 100], [0, 255],
                       {matrixType: "box", x: cx - radius, y: cy - radius, w: 2 * radius, h: 2 * radius, r: 0});
circle(face, cx, cy, radius);
face.endFill();
for (var h = 0; h < 12; h++) {
    var angle = h * Math.PI / 6;
    var inner = (h % 3 == 0) ? radius - 26 : radius - 16;
    face.lineStyle((h % 3 == 0) ? 6 : 3, 0x2b2d42, 100);
    face.moveTo(cx + inner * Math.sin(angle), cy - inner * Math.cos(angle));
    face.lineTo(cx + (radius - 6) * Math.sin(angle), cy - (radius - 6) * Math.cos(angle));
}

var hands = this.createEmptyMovieClip("hands", 2);

function hand(turns, length, width, color) {
    var angle = turns * 2 * Math.PI;
    hands.lineStyle(width, color, 100);
    hands.moveTo(cx - 0.15 * length * Math.sin(angle), cy + 0.15 * length * Math.cos(angle));
    hands.lineTo(cx + length * Math.sin(angle), cy - length * Math.cos(angle));
}

this.onEnterFrame = function() {
    var now = new Date();
    var seconds = now.getSeconds() + now.getMilliseconds() / 1000;
    var minutes = now.getMinutes() + seconds / 60;
    var hours = (now.getHours() % 12) + minutes / 60;
    hands.clear();
    hand(hours / 12, radius * 0.5, 9, 0x2b2d42);
    hand(minutes / 60, radius * 0.78, 6, 0x2b2d42);
    hand(seconds / 60, radius * 0.86, 2, 0xd90429);
    hands.lineStyle(0, 0xd90429, 100);
    hands.beginFill(0xd90429, 100);
    circle(hands, cx, cy, 6);
    hands.endFill();
};
this.onEnterFrame();
stop();
)";

} // namespace

DemoMovie clockMovie()
{
    SwfWriter w(8, 320, 320, 12);
    w.background(Color::rgb(0xf8f9fa));
    w.actions(compileActionScript(kClockScript));
    w.showFrame();
    return {"demo-clock.swf", w.finish(Compression::Zlib)};
}

} // namespace demo
