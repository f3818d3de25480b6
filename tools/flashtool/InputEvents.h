// The pointer and key events a headless run applies, read from a text file:
// one per line as "<tick> <kind> [args]", applied at the start of their tick.
//
//   # tick kind args
//   2 move 120 40
//   2 down
//   3 up
//   4 key 37
//   5 type hello
#pragma once

#include "CommandLine.h"

#include "flash/player/Player.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace flashtool {

struct InputEvent {
    enum class Kind : uint8_t { Move, Down, Up, Wheel, Key, KeyUp, Type };
    int tick = 1;
    Kind kind = Kind::Move;
    double x = 0, y = 0;  // move: stage pixels
    int number = 0;       // wheel: lines; key, keyup: the key's code
    std::u32string text;  // type
};

struct InputScript {
    std::vector<InputEvent> events; // in file order
    QString error;                  // names the first malformed line
};

[[nodiscard]] InputScript readInputScript(const QString& path);
// The events `--input` names (none without it); nothing, once the error is printed, when the file is malformed.
[[nodiscard]] std::optional<InputScript> inputOption(const CommandLine& line);

// Applies the events of `tick`, in file order.
void applyInputEvents(flash::Player& player, const InputScript& script, int tick);

} // namespace flashtool
