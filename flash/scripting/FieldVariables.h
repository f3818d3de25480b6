// Text fields bound to timeline variables: once a tick every bound field shows
// its variable's value (a variable not yet set takes the field's text), and a
// field whose text a script or the user changes writes it back.
#pragma once

#include "flash/stage/ObjectRegistry.h"

namespace flash {

class StageHost;

namespace script {
class Interpreter;
}

void installFieldVariables(script::Interpreter& vm);
// From the host, between scripts: runs guarded, as a script would.
void syncFieldVariables(StageHost& host);
// From a native while a script runs: the field's text goes into its variable.
void storeFieldVariable(StageHost& host, ObjectHandle field);

} // namespace flash
