// The options flashtool's commands take, read from argv without surprises.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace flashtool {

struct FrameRange {
    int first = 0;
    int last = 0;
};

struct CommandLine {
    QString command;
    QString file;
    std::optional<int> frame;        // --frame N
    std::optional<FrameRange> frames; // --frames A-B (render)
    std::optional<int> frameCount;   // --frames N (bench)
    std::optional<QSize> size;       // --size WxH
    std::optional<int> ticks;        // --ticks N (run, render)
    QString out;                     // --out FILE
    QString outDir;                  // --out-dir DIR
    QString input;                   // --input EVENTS (run, render)
    QString error;                   // set when the arguments make no sense
};

[[nodiscard]] CommandLine parseCommandLine(const QStringList& arguments);

// Writes `message` as one line on stderr.
void printError(const QString& message);

} // namespace flashtool
