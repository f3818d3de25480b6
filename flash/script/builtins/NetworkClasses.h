// The classes that carry data in and out of a movie: XML (with XMLNode) and LoadVars.
// Installed after the stand-ins, they replace them on the global object.
#pragma once

namespace flash::script {

class Interpreter;

void installXml(Interpreter& vm);
void installLoadVars(Interpreter& vm);

} // namespace flash::script
