// What XML and LoadVars share for moving data: load, send, sendAndLoad, the
// byte counts, and the default onData that hands the text on and calls onLoad.
#pragma once

#include <string>
#include <string_view>

namespace flash::script {

class Interpreter;
class Object;

// Puts the transfer methods on a class's prototype; the default onData passes
// the text it gets to the object's method `feed` (parseXML, decode).
void defineDataTransfer(Interpreter& vm, Object& prototype, std::string_view feed);

// A file's bytes as script text: a byte-order mark dropped (UTF-16 converted),
// and, for movies of SWF 6 on, code-page text (taken as Latin-1) turned into
// UTF-8 when the movie asks for it with System.useCodepage.
[[nodiscard]] std::string textOfFile(std::string bytes, int swfVersion, bool useCodepage);

} // namespace flash::script
