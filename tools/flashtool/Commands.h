// flashtool's commands; each returns the process exit status.
#pragma once

#include "CommandLine.h"

namespace flashtool {

// One JSON object of header facts, tag counts and recovered faults.
int runInfo(const CommandLine& line);
// Plays from the first frame as the control would and writes frames as PNG.
int runRender(const CommandLine& line);
// Times loading, advancing and drawing every frame; prints JSON figures.
int runBench(const CommandLine& line);
// Plays headless for --ticks N ticks (default: the frame count), printing trace() lines.
int runRun(const CommandLine& line);
// Writes the mixed sound of --ticks N ticks as a WAV file.
int runAudio(const CommandLine& line);
// Lists every action block with its disassembly.
int runActions(const CommandLine& line);

} // namespace flashtool
