// The runtime classes and global functions, installed into a fresh global
// object from one table: adding a class is adding a file and a table entry.
#pragma once

#include <span>

namespace flash::script {

class Interpreter;

using BuiltinInstaller = void (*)(Interpreter& vm);

// In installation order: Object and Function come first, the rest use their prototypes.
[[nodiscard]] std::span<const BuiltinInstaller> builtinInstallers();
void installBuiltins(Interpreter& vm);

// One installer per file in this folder.
void installObject(Interpreter& vm);
void installFunction(Interpreter& vm);
void installGlobalFunctions(Interpreter& vm);
void installTimerFunctions(Interpreter& vm);
void installError(Interpreter& vm);
void installArray(Interpreter& vm);
void installString(Interpreter& vm);
void installNumber(Interpreter& vm);
void installBoolean(Interpreter& vm);

} // namespace flash::script
