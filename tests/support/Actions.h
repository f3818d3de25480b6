// The name the writer's API has always used for an action block builder.
#pragma once

#include "Avm1Assembler.h"

namespace swfw {

using Actions = Avm1Assembler;

} // namespace swfw
