// Stand-ins for the classes later work builds (input, sound, text, network,
// bitmaps, filters...): each exists with its methods so that movies using them
// run on, every method answering a harmless value. A class installed for real
// before these runs is left alone; the live stage installs its own Key, Mouse,
// Stage and SharedObject over these after, so an interpreter without a stage
// still has them.
#include "flash/script/ArrayObject.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <span>

namespace flash::script {

namespace {

enum class Harmless : uint8_t { Undefined, False, True, Zero, MinusOne, Null, EmptyString, EmptyObject, EmptyArray, Full };

struct Stub {
    const char* name;
    Harmless result = Harmless::Undefined;
};

Value harmless(CallContext& c)
{
    switch (Harmless(int(c.callee.data().asNumber()))) {
    case Harmless::Undefined: return Value();
    case Harmless::False: return Value(false);
    case Harmless::True: return Value(true);
    case Harmless::Zero: return Value(0);
    case Harmless::MinusOne: return Value(-1);
    case Harmless::Null: return Value::null();
    case Harmless::EmptyString: return Value(String());
    case Harmless::EmptyObject: return Value(c.vm.newObject());
    case Harmless::EmptyArray: return Value(static_cast<Object*>(c.vm.newArray()));
    case Harmless::Full: return Value(100);
    }
    return Value();
}

void defineStubs(Interpreter& vm, Object& target, std::span<const Stub> stubs)
{
    for (const Stub& s : stubs) {
        FunctionObject* fn = vm.newNative(harmless, Value(double(int(s.result))));
        vm.define(target, String(s.name), Value(static_cast<Object*>(fn)));
    }
}

enum class Listeners : uint8_t { No, Yes };

struct Placeholder {
    const char* package; // "" for _global
    const char* name;
    std::span<const Stub> methods; // on the prototype
    std::span<const Stub> statics; // on the constructor
    Listeners listeners = Listeners::No; // instances are broadcasters
    NativeFunction constructor = nullptr;
};

// --- Constructors with something to set up ---

Value plainConstructor(CallContext& c)
{
    const bool broadcasts = c.callee.data().isBoolean() && c.callee.data().asBoolean();
    if (broadcasts && c.isConstruct() && c.thisObject())
        initializeBroadcaster(c.vm, *c.thisObject());
    return Value();
}

void setFromArguments(CallContext& c, std::span<const char* const> names, Value missing)
{
    if (!c.isConstruct() || !c.thisObject())
        return;
    for (size_t i = 0; i < names.size(); ++i)
        c.vm.setMember(c.thisValue, String(names[i]), i < c.argc() ? c.arg(i) : missing);
}

Value contextMenuItemConstructor(CallContext& c)
{
    static constexpr const char* kNames[] = { "caption", "onSelect" };
    setFromArguments(c, kNames, Value());
    if (c.isConstruct() && c.thisObject()) {
        c.vm.setMember(c.thisValue, String("separatorBefore"), Value(c.argc() > 2 && c.vm.toBoolean(c.arg(2))));
        c.vm.setMember(c.thisValue, String("enabled"), Value(c.argc() <= 3 || c.vm.toBoolean(c.arg(3))));
        c.vm.setMember(c.thisValue, String("visible"), Value(c.argc() <= 4 || c.vm.toBoolean(c.arg(4))));
    }
    return Value();
}

Value contextMenuConstructor(CallContext& c)
{
    if (!c.isConstruct() || !c.thisObject())
        return Value();
    c.vm.setMember(c.thisValue, String("onSelect"), c.arg(0));
    c.vm.setMember(c.thisValue, String("customItems"), Value(static_cast<Object*>(c.vm.newArray())));
    Object* builtIn = c.vm.newObject();
    for (const char* item : { "save", "zoom", "quality", "play", "loop", "rewind", "forward_back", "print" })
        c.vm.setMember(Value(builtIn), String(item), Value(true));
    c.vm.setMember(c.thisValue, String("builtInItems"), Value(builtIn));
    return Value();
}

Value sharedObjectConstructor(CallContext& c)
{
    if (c.isConstruct() && c.thisObject())
        c.vm.setMember(c.thisValue, String("data"), Value(c.vm.newObject()));
    return Value();
}

// SharedObject.getLocal(name[, path]): the same object for the same name all session long;
// its data starts empty and is never written to disk. The native's data is the cache.
Value getLocal(CallContext& c)
{
    Object* cache = c.callee.data().toObjectOrNull();
    const String key(c.vm.toString(c.arg(0)).toStd() + "\n" + c.vm.toString(c.arg(1)).toStd());
    if (cache) {
        if (const Property* known = cache->properties().find(key, CaseMode::Sensitive))
            return known->value;
    }
    const Value ctor = c.vm.getMember(Value(c.vm.global()), String("SharedObject"));
    Value made = c.vm.construct(ctor, {});
    if (!made.isObject())
        return Value::null();
    if (cache)
        c.vm.define(*cache, key, made, 0);
    return made;
}

// --- The classes ---

constexpr Stub kSoundMethods[] = {
    { "attachSound" }, { "start" }, { "stop" }, { "setVolume" }, { "getVolume", Harmless::Full }, { "setPan" },
    { "getPan", Harmless::Zero }, { "setTransform" }, { "getTransform", Harmless::EmptyObject }, { "loadSound" },
    { "getBytesLoaded", Harmless::Zero }, { "getBytesTotal", Harmless::Zero }, { "getDuration", Harmless::Zero },
    { "getPosition", Harmless::Zero },
};
constexpr Stub kBitmapDataMethods[] = {
    { "getPixel", Harmless::Zero }, { "getPixel32", Harmless::Zero }, { "setPixel" }, { "setPixel32" },
    { "fillRect" }, { "copyPixels" }, { "draw" }, { "dispose" }, { "clone", Harmless::EmptyObject },
    { "applyFilter", Harmless::Zero }, { "colorTransform" }, { "floodFill" }, { "noise" }, { "perlinNoise" },
    { "scroll" }, { "threshold", Harmless::Zero }, { "hitTest", Harmless::False }, { "copyChannel" },
    { "merge" }, { "paletteMap" }, { "pixelDissolve", Harmless::Zero }, { "getColorBoundsRect", Harmless::EmptyObject },
    { "generateFilterRect", Harmless::EmptyObject }, { "compare", Harmless::Zero },
};
constexpr Stub kBitmapDataStatics[] = { { "loadBitmap", Harmless::Undefined } };
constexpr Stub kFilterMethods[] = { { "clone", Harmless::EmptyObject } };
constexpr Stub kLoadVarsMethods[] = {
    { "load", Harmless::False }, { "send", Harmless::False }, { "sendAndLoad", Harmless::False }, { "decode" },
    { "toString", Harmless::EmptyString }, { "getBytesLoaded", Harmless::Zero }, { "getBytesTotal", Harmless::Zero },
    { "addRequestHeader" },
};
constexpr Stub kXmlNodeMethods[] = {
    { "appendChild" }, { "cloneNode", Harmless::Null }, { "hasChildNodes", Harmless::False }, { "insertBefore" },
    { "removeNode" }, { "toString", Harmless::EmptyString }, { "getNamespaceForPrefix", Harmless::Null },
    { "getPrefixForNamespace", Harmless::Null },
};
constexpr Stub kXmlMethods[] = {
    { "load", Harmless::False }, { "send", Harmless::False }, { "sendAndLoad", Harmless::False }, { "parseXML" },
    { "createElement", Harmless::EmptyObject }, { "createTextNode", Harmless::EmptyObject },
    { "getBytesLoaded", Harmless::Zero }, { "getBytesTotal", Harmless::Zero }, { "addRequestHeader" },
    { "toString", Harmless::EmptyString }, { "appendChild" }, { "hasChildNodes", Harmless::False },
};
constexpr Stub kSharedObjectMethods[] = {
    { "flush", Harmless::False }, { "clear" }, { "getSize", Harmless::Zero }, { "close" }, { "connect", Harmless::False },
    { "setFps", Harmless::False },
};
constexpr Stub kMovieClipLoaderMethods[] = {
    { "loadClip", Harmless::False }, { "unloadClip", Harmless::False }, { "getProgress", Harmless::EmptyObject },
};
constexpr Stub kLocalConnectionMethods[] = {
    { "connect", Harmless::False }, { "send", Harmless::False }, { "close" }, { "domain", Harmless::EmptyString },
};
constexpr Stub kDeviceStatics[] = { { "get", Harmless::Null } };
constexpr Stub kNetConnectionMethods[] = { { "connect", Harmless::False }, { "close" }, { "call" }, { "addHeader" } };
constexpr Stub kNetStreamMethods[] = {
    { "play" }, { "pause" }, { "close" }, { "seek" }, { "setBufferTime" }, { "attachAudio" }, { "attachVideo" },
    { "publish" }, { "receiveAudio" }, { "receiveVideo" },
};
constexpr Stub kVideoMethods[] = { { "attachVideo" }, { "clear" } };
constexpr Stub kContextMenuMethods[] = { { "copy", Harmless::EmptyObject }, { "hideBuiltInItems" } };
constexpr Stub kContextMenuItemMethods[] = { { "copy", Harmless::EmptyObject } };
constexpr Stub kPrintJobMethods[] = { { "start", Harmless::False }, { "addPage", Harmless::False }, { "send" } };
constexpr Stub kTextSnapshotMethods[] = {
    { "getCount", Harmless::Zero }, { "findText", Harmless::MinusOne }, { "getText", Harmless::EmptyString },
    { "getSelected", Harmless::False }, { "getSelectedText", Harmless::EmptyString }, { "setSelected" },
    { "setSelectColor" }, { "hitTestTextNearPos", Harmless::MinusOne },
};

constexpr Placeholder kClasses[] = {
    { "", "Sound", kSoundMethods, {} },
    { "flash.display", "BitmapData", kBitmapDataMethods, kBitmapDataStatics },
    { "flash.filters", "BitmapFilter", kFilterMethods, {} },
    { "flash.filters", "BevelFilter", kFilterMethods, {} },
    { "flash.filters", "BlurFilter", kFilterMethods, {} },
    { "flash.filters", "ColorMatrixFilter", kFilterMethods, {} },
    { "flash.filters", "ConvolutionFilter", kFilterMethods, {} },
    { "flash.filters", "DisplacementMapFilter", kFilterMethods, {} },
    { "flash.filters", "DropShadowFilter", kFilterMethods, {} },
    { "flash.filters", "GlowFilter", kFilterMethods, {} },
    { "flash.filters", "GradientBevelFilter", kFilterMethods, {} },
    { "flash.filters", "GradientGlowFilter", kFilterMethods, {} },
    { "", "LoadVars", kLoadVarsMethods, {} },
    { "", "XMLNode", kXmlNodeMethods, {} },
    { "", "XML", kXmlMethods, {} },
    { "", "SharedObject", kSharedObjectMethods, {}, Listeners::No, sharedObjectConstructor },
    { "", "MovieClipLoader", kMovieClipLoaderMethods, {}, Listeners::Yes },
    { "", "LocalConnection", kLocalConnectionMethods, {} },
    { "", "Camera", {}, kDeviceStatics },
    { "", "Microphone", {}, kDeviceStatics },
    { "", "NetConnection", kNetConnectionMethods, {} },
    { "", "NetStream", kNetStreamMethods, {} },
    { "", "Video", kVideoMethods, {} },
    { "", "ContextMenu", kContextMenuMethods, {}, Listeners::No, contextMenuConstructor },
    { "", "ContextMenuItem", kContextMenuItemMethods, {}, Listeners::No, contextMenuItemConstructor },
    { "", "PrintJob", kPrintJobMethods, {} },
    { "", "TextSnapshot", kTextSnapshotMethods, {} },
};

void installPlaceholderClass(Interpreter& vm, const Placeholder& p)
{
    Object* package = *p.package ? ensurePackage(vm, p.package) : vm.global();
    if (ownProperty(*package, p.name))
        return;
    Object* proto = vm.newObject();
    FunctionObject* ctor = vm.newNative(p.constructor ? p.constructor : plainConstructor,
                                        Value(p.listeners == Listeners::Yes));
    vm.define(*ctor, vm.names().prototype, Value(proto));
    vm.define(*proto, vm.names().constructor, Value(static_cast<Object*>(ctor)));
    defineStubs(vm, *proto, p.methods);
    defineStubs(vm, *ctor, p.statics);
    vm.define(*package, String(p.name), Value(static_cast<Object*>(ctor)));
}

// --- The singletons ---

constexpr Stub kKeyStubs[] = {
    { "isDown", Harmless::False }, { "isToggled", Harmless::False }, { "getCode", Harmless::Zero },
    { "getAscii", Harmless::Zero }, { "isAccessible", Harmless::False },
};
constexpr Stub kMouseStubs[] = { { "hide", Harmless::Zero }, { "show", Harmless::Zero } };
constexpr Stub kSelectionStubs[] = {
    { "getFocus", Harmless::Null }, { "setFocus", Harmless::False }, { "getBeginIndex", Harmless::MinusOne },
    { "getEndIndex", Harmless::MinusOne }, { "getCaretIndex", Harmless::MinusOne }, { "setSelection" },
};
constexpr Stub kAccessibilityStubs[] = { { "isActive", Harmless::False }, { "updateProperties" } };
constexpr Stub kCustomActionsStubs[] = {
    { "get" }, { "install", Harmless::False }, { "uninstall", Harmless::False }, { "list" },
};
constexpr Stub kExternalInterfaceStubs[] = { { "call", Harmless::Null }, { "addCallback", Harmless::False } };

struct KeyCode {
    const char* name;
    int code;
};

constexpr KeyCode kKeyCodes[] = {
    { "ALT", 18 }, { "BACKSPACE", 8 }, { "CAPSLOCK", 20 }, { "CONTROL", 17 }, { "DELETEKEY", 46 },
    { "DOWN", 40 }, { "END", 35 }, { "ENTER", 13 }, { "ESCAPE", 27 }, { "HOME", 36 }, { "INSERT", 45 },
    { "LEFT", 37 }, { "PGDN", 34 }, { "PGUP", 33 }, { "RIGHT", 39 }, { "SHIFT", 16 }, { "SPACE", 32 },
    { "TAB", 9 }, { "UP", 38 },
};

enum class Broadcaster : uint8_t { No, Yes };

// An object on `package` unless something of that name is there already; null when it was.
Object* installPlaceholderObject(Interpreter& vm, Object& package, const char* name, std::span<const Stub> stubs,
                                 Broadcaster broadcaster)
{
    if (ownProperty(package, name))
        return nullptr;
    Object* object = vm.newObject();
    vm.define(package, String(name), Value(object));
    if (broadcaster == Broadcaster::Yes)
        initializeBroadcaster(vm, *object);
    defineStubs(vm, *object, stubs);
    return object;
}

void installSingletons(Interpreter& vm)
{
    Object& global = *vm.global();
    if (Object* key = installPlaceholderObject(vm, global, "Key", kKeyStubs, Broadcaster::Yes)) {
        for (const KeyCode& k : kKeyCodes)
            defineConstant(vm, *key, k.name, Value(k.code));
    }
    (void)installPlaceholderObject(vm, global, "Mouse", kMouseStubs, Broadcaster::Yes);
    (void)installPlaceholderObject(vm, global, "Selection", kSelectionStubs, Broadcaster::Yes);
    if (Object* stage = installPlaceholderObject(vm, global, "Stage", {}, Broadcaster::Yes)) {
        vm.define(*stage, String("width"), Value(0), 0);
        vm.define(*stage, String("height"), Value(0), 0);
        vm.define(*stage, String("scaleMode"), Value("showAll"), 0);
        vm.define(*stage, String("align"), Value(""), 0);
        vm.define(*stage, String("showMenu"), Value(true), 0);
    }
    (void)installPlaceholderObject(vm, global, "Accessibility", kAccessibilityStubs, Broadcaster::No);
    (void)installPlaceholderObject(vm, global, "CustomActions", kCustomActionsStubs, Broadcaster::No);
    if (Object* external = installPlaceholderObject(vm, *ensurePackage(vm, "flash.external"), "ExternalInterface",
                                                    kExternalInterfaceStubs, Broadcaster::No))
        vm.define(*external, String("available"), Value(false), 0);
}

} // namespace

void installLaterClasses(Interpreter& vm)
{
    for (const Placeholder& p : kClasses)
        installPlaceholderClass(vm, p);
    if (const Property* shared = ownProperty(*vm.global(), "SharedObject"); shared && shared->value.isObject()) {
        Object& ctor = *shared->value.asObject();
        if (!ownProperty(ctor, "getLocal"))
            vm.define(ctor, String("getLocal"), Value(static_cast<Object*>(vm.newNative(getLocal, Value(vm.newObject())))));
    }
    installSingletons(vm);
}

} // namespace flash::script
