// A boxed string answers `length`.
#include "flash/script/BoxedObject.h"

#include "flash/script/Conversions.h"
#include "flash/script/Interpreter.h"

namespace flash::script {

std::optional<Value> BoxedObject::getSpecial(Interpreter& vm, const String& name)
{
    if (m_primitive.isString() && name.equals(vm.names().length, vm.caseMode()))
        return Value(double(characterCount(m_primitive.stringView(), vm.version())));
    return std::nullopt;
}

} // namespace flash::script
