// What scripts load with besides the loading actions: MovieClip's loadMovie,
// unloadMovie and loadVariables, and the MovieClipLoader class.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

// Adds the clip methods to MovieClip.prototype (installed before) and defines MovieClipLoader.
void installMovieLoading(script::Interpreter& vm);

} // namespace flash
