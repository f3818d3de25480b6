// Reads "flashtool COMMAND FILE [--option value]..." into a CommandLine.
#include "CommandLine.h"

#include <QRegularExpression>
#include <cstdio>

namespace flashtool {
namespace {

constexpr int kMaxSide = 16384;

std::optional<int> parseCount(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

std::optional<QSize> parseSize(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)[xX](\\d+)$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt(), height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    return QSize(width, height);
}

std::optional<FrameRange> parseRange(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)-(\\d+)$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool okFirst = false, okLast = false;
    const FrameRange range{match.captured(1).toInt(&okFirst), match.captured(2).toInt(&okLast)};
    if (!okFirst || !okLast || range.last < range.first)
        return std::nullopt;
    return range;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QStringList positional;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--"))) {
            positional << argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            line.error = argument + QStringLiteral(" needs a value");
            return line;
        }
        const QString value = arguments[++i];
        bool valid = true;
        if (argument == QLatin1String("--frame"))
            valid = (line.frame = parseCount(value)).has_value();
        else if (argument == QLatin1String("--frames")) {
            line.frames = parseRange(value);
            line.frameCount = parseCount(value);
            valid = line.frames || line.frameCount;
        } else if (argument == QLatin1String("--ticks"))
            valid = (line.ticks = parseCount(value)).has_value();
        else if (argument == QLatin1String("--size"))
            valid = (line.size = parseSize(value)).has_value();
        else if (argument == QLatin1String("--out"))
            line.out = value;
        else if (argument == QLatin1String("--out-dir"))
            line.outDir = value;
        else if (argument == QLatin1String("--input"))
            line.input = value;
        else
            valid = false;
        if (!valid) {
            line.error = QStringLiteral("bad option: ") + argument + QLatin1Char(' ') + value;
            return line;
        }
    }
    if (positional.size() != 2) {
        line.error = QStringLiteral("usage: flashtool info|render|bench|run|actions|audio FILE [options]");
        return line;
    }
    line.command = positional[0];
    line.file = positional[1];
    return line;
}

void printError(const QString& message)
{
    std::fprintf(stderr, "flashtool: %s\n", qPrintable(QString(message).replace(QLatin1Char('\n'), QLatin1Char(' '))));
}

} // namespace flashtool
