// Events of text fields: onChanged when the user edits the text, onScroller
// when its scrolling changes; each goes to the field, then to its listeners.
#pragma once

#include "flash/stage/ObjectRegistry.h"

#include <string_view>

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

class StageHost;
struct DisplayObject;

// Calls `event` on the field's object, then on each of its listeners (as they were when it started).
void broadcastFieldEvent(script::Interpreter& vm, script::Object& field, std::string_view event);
// Whether the field's object has a handler for `event` or any listener (nothing is run to find out).
[[nodiscard]] bool hearsFieldEvent(script::Interpreter& vm, script::Object& field, std::string_view event);

void installFieldEvents(script::Interpreter& vm);

// For input, after an editing operation changed the field's text: the bound
// variable takes the text, then onChanged (and onScroller if scrolling moved).
// Runs guarded, from the host between scripts.
void notifyTextEdited(StageHost& host, DisplayObject& field);

} // namespace flash
