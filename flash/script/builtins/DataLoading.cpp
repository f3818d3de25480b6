// Loading reads through the host and answers after the calling script has
// returned, as the runtime answers network loads: a zero-delay timer carries
// the outcome to the object's onData at the next run of the timers.
#include "flash/script/builtins/DataLoading.h"

#include "flash/script/Conversions.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <optional>

namespace flash::script {

namespace {

constexpr const char* kContentType = "application/x-www-form-urlencoded";
constexpr const char* kBytesLoaded = "_bytesLoaded";
constexpr const char* kBytesTotal = "_bytesTotal";

// State the runtime keeps on the object itself, out of for..in and of what toString sends.
void setHidden(Interpreter& vm, Object& object, const char* name, Value value)
{
    vm.define(object, String(name), std::move(value), PropertyFlag::DontEnum);
}

bool usesCodepage(Interpreter& vm)
{
    const Value system = vm.getMember(Value(vm.global()), String("System"));
    return vm.toBoolean(vm.getMember(system, String("useCodepage")));
}

// The timer's native: arguments are the target, the url (undefined: the transfer failed) and the SWF version.
Value deliver(CallContext& c)
{
    Object* target = c.arg(0).toObjectOrNull();
    // The target and this native were rooted while the transfer was pending (see startTransfer).
    struct Unroot {
        Heap& heap;
        Object* target;
        Object* self;
        ~Unroot()
        {
            if (target)
                heap.removeRoot(target);
            heap.removeRoot(self);
        }
    } unroot { c.vm.heap(), target, &c.callee };
    if (!target)
        return Value();
    Value text;
    if (const Value url = c.arg(1); url.isString()) {
        if (std::optional<std::string> bytes = c.vm.host().readLocalFile(url.stringView())) {
            setHidden(c.vm, *target, kBytesLoaded, Value(double(bytes->size())));
            setHidden(c.vm, *target, kBytesTotal, Value(double(bytes->size())));
            std::string decoded = textOfFile(std::move(*bytes), int(c.vm.toNumber(c.arg(2))), usesCodepage(c.vm));
            if (decoded.size() <= c.vm.limits().maxStringLength)
                text = Value(String(decoded));
        }
    }
    (void)c.vm.invokeMember(Value(target), String("onData"), std::span<const Value>(&text, 1));
    return Value();
}

// Marks `target` as loading and schedules the outcome; an undefined url fails.
void startTransfer(Interpreter& vm, Object& target, Value url)
{
    setHidden(vm, target, "loaded", Value(false));
    FunctionObject* deliverer = vm.newNative(deliver);
    Timer timer;
    timer.function = Value(static_cast<Object*>(deliverer));
    timer.args = { Value(&target), std::move(url), Value(vm.version()) };
    timer.repeat = TimerRepeat::Once;
    timer.dueMs = vm.host().timeMs();
    // Rooted until delivered: a timer taken for firing is no longer traced with the pending ones.
    vm.heap().addRoot(&target);
    vm.heap().addRoot(deliverer);
    if (vm.timers().add(std::move(timer)) == 0) {
        vm.heap().removeRoot(&target);
        vm.heap().removeRoot(deliverer);
        vm.host().report("A load was dropped: too many timers are pending");
    }
}

// load(url): true once asked for; what came of it reaches onData later.
Value load(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self || c.arg(0).isNullish())
        return Value(false);
    startTransfer(c.vm, *self, Value(c.vm.toString(c.arg(0))));
    return Value(true);
}

// sendAndLoad(url, target[, method]): nothing is sent anywhere, so the target hears of a failure.
Value sendAndLoad(CallContext& c)
{
    Object* target = c.arg(1).toObjectOrNull();
    if (!c.thisObject() || !target || c.arg(0).isNullish())
        return Value(false);
    startTransfer(c.vm, *target, Value());
    return Value(true);
}

Value send(CallContext&) { return Value(false); }
Value nothing(CallContext&) { return Value(); }

Value bytesLoaded(CallContext& c) { return c.vm.getMember(c.thisValue, String(kBytesLoaded)); }
Value bytesTotal(CallContext& c) { return c.vm.getMember(c.thisValue, String(kBytesTotal)); }

// onData(src): the text goes to the feed method and onLoad(true) follows; no text is onLoad(false).
Value onData(CallContext& c)
{
    Value success(false);
    if (!c.arg(0).isNullish()) {
        const Value src = c.arg(0);
        (void)c.vm.invokeMember(c.thisValue, c.callee.data().asString(), std::span<const Value>(&src, 1));
        if (Object* self = c.thisObject())
            setHidden(c.vm, *self, "loaded", Value(true));
        success = Value(true);
    }
    (void)c.vm.invokeMember(c.thisValue, String("onLoad"), std::span<const Value>(&success, 1));
    return Value();
}

void appendUtf16(std::string& out, std::string_view bytes, bool bigEndian, int swfVersion)
{
    const auto unit = [&](size_t i) {
        const auto hi = uint8_t(bytes[bigEndian ? i : i + 1]), lo = uint8_t(bytes[bigEndian ? i + 1 : i]);
        return uint32_t(hi << 8 | lo);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        out += encodeCharacter(swfVersion < 6 && cp > 0xFF ? uint32_t('?') : cp, swfVersion);
    }
}

} // namespace

std::string textOfFile(std::string bytes, int swfVersion, bool useCodepage)
{
    const std::string_view view(bytes);
    if (view.starts_with("\xEF\xBB\xBF"))
        return bytes.substr(3);
    if (view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF")) {
        std::string out;
        out.reserve(bytes.size());
        appendUtf16(out, view.substr(2), view[0] == '\xFE', swfVersion);
        return out;
    }
    if (swfVersion < 6 || !useCodepage)
        return bytes;
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes)
        out += encodeCharacter(c, swfVersion);
    return out;
}

void defineDataTransfer(Interpreter& vm, Object& prototype, std::string_view feed)
{
    static constexpr std::pair<const char*, NativeFunction> kMethods[] = {
        { "load", load }, { "send", send }, { "sendAndLoad", sendAndLoad }, { "getBytesLoaded", bytesLoaded },
        { "getBytesTotal", bytesTotal }, { "addRequestHeader", nothing }, { "onLoad", nothing },
    };
    for (const auto& [name, native] : kMethods)
        defineMethod(vm, prototype, name, native);
    vm.define(prototype, String("onData"), Value(static_cast<Object*>(vm.newNative(onData, Value(String(feed))))));
    vm.define(prototype, String("contentType"), Value(kContentType));
}

} // namespace flash::script
