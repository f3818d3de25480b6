// The property names the runtime itself uses, made once per interpreter so that
// lookups of them compare one pointer.
#pragma once

#include "flash/script/String.h"

namespace flash::script {

struct Names {
    String proto { "__proto__" };
    String prototype { "prototype" };
    String constructor { "constructor" };
    String ctor { "__constructor__" };
    String resolve { "__resolve" };
    String length { "length" };
    String toString { "toString" };
    String valueOf { "valueOf" };
    String thisName { "this" };
    String arguments { "arguments" };
    String super { "super" };
    String global { "_global" };
    String root { "_root" };
    String parent { "_parent" };
    String callee { "callee" };
    String caller { "caller" };
    String message { "message" };
    String name { "name" };
};

} // namespace flash::script
