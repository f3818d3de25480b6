// Parses the events file strictly (a malformed line stops the run with its
// number) and plays each event through the player as the control would.
#include "InputEvents.h"

#include "flash/input/KeyCodes.h"

#include <QFile>
#include <QTextStream>

#include <cmath>

namespace flashtool {

namespace {

std::optional<InputEvent::Kind> kindNamed(const QString& name)
{
    using Kind = InputEvent::Kind;
    static const std::pair<const char*, Kind> kKinds[] = {{"move", Kind::Move}, {"down", Kind::Down}, {"up", Kind::Up},
                                                          {"wheel", Kind::Wheel}, {"key", Kind::Key},
                                                          {"keyup", Kind::KeyUp}, {"type", Kind::Type}};
    for (const auto& [text, kind] : kKinds) {
        if (name == QLatin1String(text))
            return kind;
    }
    return std::nullopt;
}

// One line's event; nothing when it is malformed.
std::optional<InputEvent> parseLine(const QString& line)
{
    using Kind = InputEvent::Kind;
    const QString trimmed = line.trimmed();
    const qsizetype firstSpace = trimmed.indexOf(QLatin1Char(' '));
    const qsizetype secondSpace = firstSpace < 0 ? -1 : trimmed.indexOf(QLatin1Char(' '), firstSpace + 1);
    bool ok = false;
    InputEvent event;
    event.tick = trimmed.left(firstSpace).toInt(&ok);
    if (!ok || event.tick < 1 || firstSpace < 0)
        return std::nullopt;
    const QString name = trimmed.mid(firstSpace + 1, secondSpace < 0 ? -1 : secondSpace - firstSpace - 1);
    const auto kind = kindNamed(name);
    if (!kind)
        return std::nullopt;
    event.kind = *kind;
    const QString rest = secondSpace < 0 ? QString() : trimmed.mid(secondSpace + 1);
    if (event.kind == Kind::Type) {
        // Everything after the kind, spaces inside included.
        event.text = line.mid(line.indexOf(name) + name.size() + 1).toStdU32String();
        return event.text.empty() ? std::nullopt : std::optional(event);
    }
    const QStringList args = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    switch (event.kind) {
    case Kind::Move: {
        bool okX = false, okY = false;
        if (args.size() != 2)
            return std::nullopt;
        event.x = args[0].toDouble(&okX);
        event.y = args[1].toDouble(&okY);
        return okX && okY && std::isfinite(event.x) && std::isfinite(event.y) ? std::optional(event) : std::nullopt;
    }
    case Kind::Wheel:
    case Kind::Key:
    case Kind::KeyUp:
        if (args.size() != 1)
            return std::nullopt;
        event.number = args[0].toInt(&ok);
        if (!ok || (event.kind != Kind::Wheel && (event.number < 0 || event.number > 255)))
            return std::nullopt;
        return event;
    default:
        return args.isEmpty() ? std::optional(event) : std::nullopt;
    }
}

void pressKey(flash::Player& player, int code, uint32_t character)
{
    player.keyEvent({flash::KeyDirection::Down, code, character});
    player.keyEvent({flash::KeyDirection::Up, code, character});
}

} // namespace

InputScript readInputScript(const QString& path)
{
    InputScript script;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        script.error = path + QStringLiteral(": cannot be read");
        return script;
    }
    QTextStream in(&file);
    int number = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++number;
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const auto event = parseLine(line);
        if (!event) {
            script.error = path + QStringLiteral(": line %1 is not an event: ").arg(number) + line;
            return script;
        }
        script.events.push_back(*event);
    }
    return script;
}

std::optional<InputScript> inputOption(const CommandLine& line)
{
    if (line.input.isEmpty())
        return InputScript{};
    InputScript script = readInputScript(line.input);
    if (!script.error.isEmpty()) {
        printError(script.error);
        return std::nullopt;
    }
    return script;
}

void applyInputEvents(flash::Player& player, const InputScript& script, int tick)
{
    using Kind = InputEvent::Kind;
    for (const InputEvent& event : script.events) {
        if (event.tick != tick)
            continue;
        switch (event.kind) {
        case Kind::Move:
            player.pointerMove(flash::Point{event.x * flash::kTwipsPerPixel, event.y * flash::kTwipsPerPixel});
            break;
        case Kind::Down: player.pointerPress(); break;
        case Kind::Up: player.pointerRelease(); break;
        case Kind::Wheel: player.wheel(event.number); break;
        case Kind::Key: player.keyEvent({flash::KeyDirection::Down, event.number, flash::key::asciiOf(event.number)}); break;
        case Kind::KeyUp: player.keyEvent({flash::KeyDirection::Up, event.number, flash::key::asciiOf(event.number)}); break;
        case Kind::Type:
            for (char32_t c : event.text)
                pressKey(player, flash::key::codeOf(c), uint32_t(c == U'\n' ? U'\r' : c));
            break;
        }
    }
}

} // namespace flashtool
