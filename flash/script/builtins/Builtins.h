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
// The library classes; the first three add to the classes above.
void installArrayMethods(Interpreter& vm);
void installStringMethods(Interpreter& vm);
void installNumberConstants(Interpreter& vm);
void installMath(Interpreter& vm);
void installDate(Interpreter& vm);
void installAsBroadcaster(Interpreter& vm);
void installSystem(Interpreter& vm);
void installGeomPoint(Interpreter& vm);
void installGeomRectangle(Interpreter& vm);
void installGeomMatrix(Interpreter& vm);
void installGeomColorTransform(Interpreter& vm);
void installLaterClasses(Interpreter& vm);

} // namespace flash::script
