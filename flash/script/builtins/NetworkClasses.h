// The classes that carry data in and out of a movie: XML (with XMLNode),
// LoadVars, and XMLSocket, whose connections are always refused.
// Installed after the stand-ins, they replace them on the global object.
#pragma once

namespace flash::script {

class Interpreter;

void installXml(Interpreter& vm);
void installLoadVars(Interpreter& vm);
void installXmlSocket(Interpreter& vm);

} // namespace flash::script
