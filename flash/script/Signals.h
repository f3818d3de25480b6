// The two ways running code unwinds: a script `throw` (caught by Try) and a
// stop (a fault or a limit; nothing in the script can catch it).
#pragma once

#include <string>

namespace flash::script {

// The thrown value itself waits in Interpreter::thrown(), where the collector sees it.
struct ThrowSignal { };

struct StopSignal {
    std::string reason;
};

} // namespace flash::script
