// flash.display.BitmapData: pixels a script makes, draws into and reads back,
// held premultiplied on a BitmapSurface; and MovieClip.attachBitmap, which
// shows them on stage.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

// Replaces any BitmapData already on flash.display, and adds attachBitmap to
// MovieClip.prototype (MovieClip must be installed first).
void installBitmapData(script::Interpreter& vm);

} // namespace flash
