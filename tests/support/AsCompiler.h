// Compiles a subset of ActionScript 1/2 into an action block, the way the
// Flash 8 authoring compiler wrote it, so that test movies can be scripted as text:
//
//   SwfWriter w(8, 100, 100, 12);
//   w.actions(compileActionScript(R"(var i = 0; while (i < 3) { trace("i=" + i); i++; })"));
//   w.showFrame();
//
// The block starts with a ConstantPool of its strings (SWF 5 on) and ends with End.
// Functions are DefineFunction2 with register locals from SWF 7 on unless
// `registers` is off, DefineFunction otherwise. Operators take the SWF 4 actions
// (Add, Less, Equals, And, Or) when swfVersion is 4, and StackSwap with Less2 for
// > on SWF 5. Global functions that have actions of their own (trace, getTimer,
// gotoAndStop, getURL, setProperty, ...) compile to them.
//
// Not supported: getters and setters, labelled statements, the comma operator,
// and break or continue out of a try, with or ifFrameLoaded block.
#pragma once

#include "AsSyntaxError.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace swfw {

struct CompileOptions {
    int swfVersion = 8;
    bool registers = true;
};

// Throws AsSyntaxError (a std::runtime_error naming line and column) on source it cannot compile.
[[nodiscard]] std::vector<uint8_t> compileActionScript(std::string_view source, CompileOptions options = {});

} // namespace swfw
