// The table of builtin installers.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/NetworkClasses.h"

#include <array>

namespace flash::script {
namespace {

// Object's and Function's prototypes must exist before any other class is made.
constexpr std::array kInstallers = {
    &installObject,
    &installFunction,
    &installError,
    &installArray,
    &installString,
    &installNumber,
    &installBoolean,
    &installGlobalFunctions,
    &installTimerFunctions,
    &installArrayMethods,
    &installStringMethods,
    &installNumberConstants,
    &installMath,
    &installDate,
    &installAsBroadcaster, // before the placeholders that are broadcasters
    &installSystem,
    &installGeomPoint,
    &installGeomRectangle,
    &installGeomMatrix,
    &installGeomColorTransform,
    &installXml, // XMLNode and XML
    &installLoadVars,
    &installXmlSocket,
    &installLaterClasses, // last: it leaves alone what is already installed
};

} // namespace

std::span<const BuiltinInstaller> builtinInstallers() { return kInstallers; }

void installBuiltins(Interpreter& vm)
{
    for (BuiltinInstaller install : kInstallers)
        install(vm);
}

} // namespace flash::script
