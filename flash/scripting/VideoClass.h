// Video: the video objects of the stage as scripts see them (attachVideo of a
// NetStream, clear, the stream's picture size, smoothing and deblocking), and
// MovieClip.attachAudio, which plays a stream's sound at a clip's level.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

class StageHost;

void installVideo(script::Interpreter& vm, StageHost& host);

} // namespace flash
