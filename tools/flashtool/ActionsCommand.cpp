// flashtool actions FILE: every action block of a movie, where it stands, and its disassembly.
#include "Commands.h"

#include "flash/model/ActionBlocks.h"
#include "flash/parse/MovieLoader.h"
#include "flash/script/Disassembler.h"

#include <cstdio>
#include <string>

namespace flashtool {
namespace {

std::string where(const flash::ActionBlockSite& site)
{
    const std::string timeline = site.timeline == 0 ? "main timeline" : "sprite " + std::to_string(site.timeline);
    const std::string frame = "frame " + std::to_string(site.frame + 1);
    char events[16];
    std::snprintf(events, sizeof events, "0x%x", site.events);
    switch (site.kind) {
    case flash::ActionBlockSite::Kind::Frame: return "frame actions, " + timeline + ", " + frame;
    case flash::ActionBlockSite::Kind::Init:
        return "init actions of sprite " + std::to_string(site.target) + ", " + timeline + ", " + frame;
    case flash::ActionBlockSite::Kind::ClipEvent:
        return "clip events " + std::string(events) + ", depth " + std::to_string(site.depth) + ", " + timeline + ", "
            + frame;
    case flash::ActionBlockSite::Kind::Button:
        return "button " + std::to_string(site.target) + ", conditions " + events;
    }
    return {};
}

} // namespace

int runActions(const CommandLine& line)
{
    const auto movie = flash::loadMovieFile(line.file.toStdString());
    if (!movie || !*movie) {
        printError(line.file + QStringLiteral(": ") + QString::fromStdString(movie ? "no movie" : movie.error().message));
        return 1;
    }
    const int version = (*movie)->header.version;
    flash::forEachActionBlock(**movie, [&](const flash::ActionBlockSite& site, std::span<const uint8_t> bytes) {
        std::printf("== %s (%zu bytes)\n%s\n", where(site).c_str(), bytes.size(),
                    flash::script::disassemble(bytes, version).c_str());
    });
    return 0;
}

} // namespace flashtool
