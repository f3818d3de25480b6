// flashtool info FILE: what the movie's header and tags say, as JSON.
#include "Commands.h"

#include "flash/parse/MovieLoader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace flashtool {
namespace {

QString hexColor(const flash::Rgba& color)
{
    return QStringLiteral("#%1%2%3")
        .arg(color.r, 2, 16, QLatin1Char('0'))
        .arg(color.g, 2, 16, QLatin1Char('0'))
        .arg(color.b, 2, 16, QLatin1Char('0'));
}

QJsonObject describe(const flash::Movie& movie)
{
    const flash::MovieHeader& header = movie.header;
    QJsonObject tags;
    for (const auto& [name, count] : movie.tagCounts)
        tags.insert(QString::fromStdString(name), count);
    QJsonArray errors;
    for (const std::string& error : movie.errors)
        errors.append(QString::fromStdString(error));

    QJsonObject info;
    info.insert(QStringLiteral("signature"), QString::fromLatin1(header.signature, 3));
    info.insert(QStringLiteral("version"), header.version);
    info.insert(QStringLiteral("width"), header.stage.width() / flash::kTwipsPerPixel);
    info.insert(QStringLiteral("height"), header.stage.height() / flash::kTwipsPerPixel);
    info.insert(QStringLiteral("frameRate"), header.frameRate);
    info.insert(QStringLiteral("headerFrameCount"), header.headerFrameCount);
    info.insert(QStringLiteral("frameCount"), qint64(movie.timeline.frames.size()));
    info.insert(QStringLiteral("backgroundColor"), hexColor(movie.backgroundColor));
    info.insert(QStringLiteral("tags"), tags);
    info.insert(QStringLiteral("errors"), errors);
    return info;
}

} // namespace

int runInfo(const CommandLine& line)
{
    const auto movie = flash::loadMovieFile(line.file.toStdString());
    if (!movie || !*movie) {
        printError(line.file + QStringLiteral(": ")
                   + (movie ? QStringLiteral("not a movie") : QString::fromStdString(movie.error().message)));
        return 1;
    }
    const QByteArray json = QJsonDocument(describe(**movie)).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

} // namespace flashtool
