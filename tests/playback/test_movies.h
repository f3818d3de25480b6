#pragma once
// Movies written for the tests: a red square crossing the stage, one frame
// per step, looping or halting itself on its last frame.

#include <QString>
#include <QTemporaryDir>

namespace vf::test {

enum class MovieEnd { Loops, StopsAtLastFrame };

class TestMovies {
public:
    // Writes name.swf with the given frames and rate; returns its full path.
    QString write(const QString& name, int frames, MovieEnd end = MovieEnd::Loops, double frameRate = 12);
    QString folder() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
};

} // namespace vf::test
