// Decides, before a function is compiled, which of its names live in registers
// and which DefineFunction2 flags it needs, from what its body uses.
#pragma once

#include "AsAst.h"
#include "Avm1Assembler.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace swfw::as {

// The members of the class whose methods are compiled: unqualified names that
// match them stand for this.name or the class's own static property.
struct ClassScope {
    std::set<std::string> instanceMembers;
    std::set<std::string> staticMembers;
    std::vector<std::string> path; // package parts then the class name
};

struct FunctionPlan {
    bool registers = false;                    // compiled as DefineFunction2
    std::map<std::string, uint8_t> registerOf; // parameters, locals and preloaded names
    std::set<std::string> declared;            // every name the function declares (it hides class members)
    std::vector<RegisterParam> params;
    uint16_t flags = 0;
    uint8_t nextRegister = 1; // the first register no name took; temporaries start here
    bool callsSuperConstructor = false; // the body calls super(...) itself
};

[[nodiscard]] FunctionPlan planFunction(const Function& f, bool useRegisters, const ClassScope* cls);

} // namespace swfw::as
