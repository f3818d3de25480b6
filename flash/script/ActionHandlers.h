// The handlers of the action table, and the small helpers they share.
#pragma once

#include "flash/script/Conversions.h"
#include "flash/script/Frame.h"
#include "flash/script/Interpreter.h"

#include <span>

namespace flash::script::actions {

using Flow = Interpreter::Flow;
using Bytes = std::span<const uint8_t>;

inline Value pop(Interpreter& vm, Frame& f) { return vm.stack().pop(f.stackBase); }
inline void push(Interpreter& vm, Value v) { vm.push(std::move(v)); }
// Comparisons and logic push numbers in SWF 4 and booleans from SWF 5 on.
inline Value truth(const Frame& f, bool b) { return f.version >= 5 ? Value(b) : Value(b ? 1.0 : 0.0); }
inline uint16_t readU16(Bytes p, size_t at) { return uint16_t(p[at] | (p[at + 1] << 8)); }
// The payload must hold at least `n` bytes, or the block stops.
void requirePayload(Interpreter& vm, Bytes p, size_t n);
// Skips `count` actions forward from the frame's position (WaitForFrame).
void skipActions(Interpreter& vm, Frame& f, uint32_t count);
// Clip of a target value: a clip object, or a path string resolved from the current target.
Object* targetOf(Interpreter& vm, Frame& f, const Value& target);

#define VF_ACTION(name) Flow name(Interpreter& vm, Frame& f, Bytes p)

// Timeline and host (ActionsTimeline.cpp)
VF_ACTION(gotoFrame); VF_ACTION(getUrl); VF_ACTION(nextFrame); VF_ACTION(prevFrame); VF_ACTION(play);
VF_ACTION(stop); VF_ACTION(toggleQuality); VF_ACTION(stopSounds); VF_ACTION(waitForFrame); VF_ACTION(setTarget);
VF_ACTION(goToLabel); VF_ACTION(setTarget2); VF_ACTION(getProperty); VF_ACTION(setProperty); VF_ACTION(cloneSprite);
VF_ACTION(removeSprite); VF_ACTION(startDrag); VF_ACTION(endDrag); VF_ACTION(getUrl2); VF_ACTION(gotoFrame2);
VF_ACTION(waitForFrame2); VF_ACTION(callFrame); VF_ACTION(trace); VF_ACTION(getTime); VF_ACTION(randomNumber);
VF_ACTION(targetPath);

// Arithmetic, strings, comparisons, stack (ActionsOperators.cpp)
VF_ACTION(add); VF_ACTION(subtract); VF_ACTION(multiply); VF_ACTION(divide); VF_ACTION(equals); VF_ACTION(less);
VF_ACTION(logicalAnd); VF_ACTION(logicalOr); VF_ACTION(logicalNot); VF_ACTION(stringEquals); VF_ACTION(stringLength);
VF_ACTION(stringExtract); VF_ACTION(pop); VF_ACTION(toInteger); VF_ACTION(stringAdd); VF_ACTION(stringLess);
VF_ACTION(mbStringLength); VF_ACTION(charToAscii); VF_ACTION(asciiToChar); VF_ACTION(mbStringExtract);
VF_ACTION(mbCharToAscii); VF_ACTION(mbAsciiToChar); VF_ACTION(modulo); VF_ACTION(add2); VF_ACTION(less2);
VF_ACTION(equals2); VF_ACTION(toNumber); VF_ACTION(toString); VF_ACTION(pushDuplicate); VF_ACTION(stackSwap);
VF_ACTION(increment); VF_ACTION(decrement); VF_ACTION(bitAnd); VF_ACTION(bitOr); VF_ACTION(bitXor);
VF_ACTION(bitLShift); VF_ACTION(bitRShift); VF_ACTION(bitURShift); VF_ACTION(strictEquals); VF_ACTION(greater);
VF_ACTION(stringGreater); VF_ACTION(typeOf);

// Values, variables and members (ActionsVariables.cpp)
VF_ACTION(pushValues); VF_ACTION(constantPool); VF_ACTION(storeRegister); VF_ACTION(getVariable);
VF_ACTION(setVariable); VF_ACTION(defineLocal); VF_ACTION(defineLocal2); VF_ACTION(deleteMember);
VF_ACTION(deleteVariable); VF_ACTION(getMember); VF_ACTION(setMember); VF_ACTION(initArray); VF_ACTION(initObject);
VF_ACTION(enumerate); VF_ACTION(enumerate2);

// Functions, objects and classes (ActionsFunctions.cpp)
VF_ACTION(defineFunction); VF_ACTION(defineFunction2); VF_ACTION(returnValue); VF_ACTION(callFunction);
VF_ACTION(callMethod); VF_ACTION(newObject); VF_ACTION(newMethod); VF_ACTION(instanceOf); VF_ACTION(extends);
VF_ACTION(castOp); VF_ACTION(implementsOp);

// Control flow (ActionsControl.cpp)
VF_ACTION(jump); VF_ACTION(branchIf); VF_ACTION(with); VF_ACTION(tryBlock); VF_ACTION(throwValue);

#undef VF_ACTION

// instanceof through the prototype chain and implemented interfaces.
bool isInstanceOf(Interpreter& vm, const Value& object, const Value& constructor);

} // namespace flash::script::actions
