// Helpers the builtin installers share: native methods and classes on the global object.
#pragma once

#include "flash/script/CallContext.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"

#include <string_view>

namespace flash::script {

// A native method `name` on `object`, hidden from for..in as the runtime's own are.
inline FunctionObject* defineMethod(Interpreter& vm, Object& object, std::string_view name, NativeFunction native)
{
    FunctionObject* fn = vm.newNative(native);
    vm.define(object, String(name), Value(static_cast<Object*>(fn)));
    return fn;
}

// A constructor with `prototype`, published on the global object as `name`.
inline FunctionObject* defineClass(Interpreter& vm, std::string_view name, NativeFunction native, Object* prototype,
                                   InstanceAllocator allocator = nullptr)
{
    FunctionObject* ctor = vm.newConstructor(native, prototype, allocator);
    vm.define(*vm.global(), String(name), Value(static_cast<Object*>(ctor)));
    return ctor;
}

} // namespace flash::script
