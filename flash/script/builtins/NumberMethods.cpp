// Number's constants, on the constructor the Number class installs.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <limits>

namespace flash::script {

void installNumberConstants(Interpreter& vm)
{
    const Property* ctorProperty = ownProperty(*vm.global(), "Number");
    if (!ctorProperty || !ctorProperty->value.isObject())
        return;
    Object& ctor = *ctorProperty->value.asObject();
    using Limits = std::numeric_limits<double>;
    defineConstant(vm, ctor, "MAX_VALUE", Value(Limits::max()));
    // The smallest value above zero, a denormal, as the runtime reports it.
    defineConstant(vm, ctor, "MIN_VALUE", Value(Limits::denorm_min()));
    defineConstant(vm, ctor, "NaN", Value(Limits::quiet_NaN()));
    defineConstant(vm, ctor, "NEGATIVE_INFINITY", Value(-Limits::infinity()));
    defineConstant(vm, ctor, "POSITIVE_INFINITY", Value(Limits::infinity()));
}

} // namespace flash::script
