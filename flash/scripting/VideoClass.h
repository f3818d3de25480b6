// Video: the video objects of the stage as scripts see them (attachVideo of a
// NetStream, clear, the stream's picture size, smoothing and deblocking).
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

class StageHost;

void installVideo(script::Interpreter& vm, StageHost& host);

} // namespace flash
