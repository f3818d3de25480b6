// The XML text of a node and everything under it, as XMLNode.toString writes it.
#pragma once

#include "flash/script/String.h"

namespace flash::script {

class Interpreter;
class XmlNodeObject;

// Elements as <name attributes>...</name> or <name attributes />, attributes in
// for..in order, text escaped; a document (a nameless element) starts with its
// xmlDecl and docTypeDecl. Trees of any depth; stops the script past the string limit.
[[nodiscard]] String writeXml(Interpreter& vm, XmlNodeObject& root);

} // namespace flash::script
