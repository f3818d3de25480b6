// The objects getLocal made are roots of the script heap for the session, so
// their data is still there to write when the movie unloads.
#include "flash/scripting/SharedObjectClass.h"

#include "flash/io/LocalUrl.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace flash {
namespace {

using script::CallContext;
using script::Object;
using script::Value;

constexpr const char* kData = "data";

// The heap object the natives carry as their data: it outlives the C++ side
// when scripts keep the natives, and is emptied when that side goes.
struct OwnerLink final : Object {
    explicit OwnerLink(SharedObjects* owner) : owner(owner) { }
    SharedObjects* owner;
};

SharedObjects* ownerOf(CallContext& c)
{
    const auto* link = dynamic_cast<const OwnerLink*>(c.callee.data().toObjectOrNull());
    return link ? link->owner : nullptr;
}

// The movie's own file, which scopes its objects; empty for a movie loaded from memory.
std::filesystem::path moviePathOf(const Stage& stage)
{
    if (stage.url().empty())
        return {};
    const auto path = resolveLocalUrl(stage.folder(), stage.url());
    return path ? *path : std::filesystem::path();
}

template<typename T>
T* ownMember(const Object* object, std::string_view name)
{
    const script::Property* p = object ? script::ownProperty(*object, name) : nullptr;
    return p ? dynamic_cast<T*>(p->value.toObjectOrNull()) : nullptr;
}

// The runtime's Date as installed, before any script could replace it.
DateClass dateClassOf(script::Interpreter& vm)
{
    auto* constructor = ownMember<script::FunctionObject>(vm.global(), "Date");
    auto* prototype = ownMember<Object>(constructor, "prototype");
    auto* getTime = ownMember<script::FunctionObject>(prototype, "getTime");
    if (!getTime || !getTime->isNative())
        return {};
    return {constructor, prototype, getTime};
}

Value construct(CallContext& c)
{
    if (c.isConstruct() && c.thisObject())
        c.vm.define(*c.thisObject(), kData, Value(c.vm.newObject()), script::PropertyFlag::DontDelete);
    return {};
}

Value nativeGetLocal(CallContext& c)
{
    SharedObjects* owner = ownerOf(c);
    if (!owner || c.arg(0).isNullish())
        return Value::null();
    std::optional<std::string> localPath;
    if (!c.arg(1).isNullish())
        localPath = c.vm.toString(c.arg(1)).toStd();
    const std::string name = c.vm.toString(c.arg(0)).toStd();
    return Value(owner->getLocal(moviePathOf(hostOf(c).stage()), name, localPath));
}

Value nativeFlush(CallContext& c)
{
    SharedObjects* owner = ownerOf(c);
    return Value(owner && c.thisObject() && owner->flush(*c.thisObject(), script::numberArg(c, 0, 0)));
}

Value nativeGetSize(CallContext& c)
{
    SharedObjects* owner = ownerOf(c);
    return Value(owner && c.thisObject() ? double(owner->sizeOf(*c.thisObject())) : 0.0);
}

Value nativeClear(CallContext& c)
{
    if (SharedObjects* owner = ownerOf(c); owner && c.thisObject())
        owner->clear(*c.thisObject());
    return {};
}

Value close(CallContext&)
{
    return {};
}

// Remote shared objects need a server this player does not talk to.
Value refuse(CallContext&)
{
    return Value(false);
}

} // namespace

SharedObjects::SharedObjects(script::Interpreter& vm, std::filesystem::path root)
    : m_vm(vm)
    , m_store(std::move(root))
    , m_dates(dateClassOf(vm))
{
    m_link = vm.heap().make<OwnerLink>(this);
    const script::LibraryClass shared = script::defineLibraryClass(vm, *vm.global(), "SharedObject", construct);
    m_prototype = shared.prototype;
    auto native = [&](script::NativeFunction function) {
        return Value(static_cast<Object*>(vm.newNative(function, Value(m_link))));
    };
    vm.define(*shared.constructor, "getLocal", native(nativeGetLocal));
    const std::pair<const char*, script::NativeFunction> methods[] = {
        {"flush", nativeFlush}, {"getSize", nativeGetSize}, {"clear", nativeClear},
        {"close", close},       {"connect", refuse},       {"setFps", refuse},
    };
    for (const auto& [name, function] : methods)
        vm.define(*m_prototype, name, native(function));
    m_rootSource = vm.heap().addRootSource([this](script::Tracer& tracer) {
        tracer.mark(m_link);
        tracer.mark(m_prototype);
        tracer.mark(m_dates.constructor);
        tracer.mark(m_dates.prototype);
        tracer.mark(m_dates.getTime);
        for (const auto& [object, entry] : m_entries)
            tracer.mark(object);
    });
}

SharedObjects::~SharedObjects()
{
    try {
        flushAll();
    } catch (const std::exception&) {
        // Out of memory on the way out: what was not written keeps its old file.
    }
    static_cast<OwnerLink*>(m_link)->owner = nullptr;
    m_vm.heap().removeRootSource(m_rootSource);
}

void SharedObjects::flushAll()
{
    for (auto& [object, entry] : m_entries) {
        auto bytes = encode(*object, entry);
        if (bytes && *bytes != entry.stored)
            (void)store(entry, std::move(*bytes), 0);
    }
}

script::Object* SharedObjects::getLocal(const std::filesystem::path& moviePath, const std::string& name,
                                        const std::optional<std::string>& localPath)
{
    const auto file = m_store.fileOf(moviePath, name, localPath ? std::optional<std::string_view>(*localPath) : std::nullopt);
    if (!file)
        return nullptr;
    const std::string place = file->empty() ? name + '\n' + localPath.value_or("") : file->string();
    if (const auto known = m_byPlace.find(place); known != m_byPlace.end())
        return known->second;
    Entry entry{name, *file, {}};
    Object* data = nullptr;
    if (!file->empty()) {
        if (auto bytes = SharedObjectStore::read(*file)) {
            data = decodeSharedObject(m_vm, *bytes, m_dates);
            if (data)
                entry.stored = std::move(*bytes);
        }
    }
    if (!data)
        data = m_vm.newObject();
    Object* object = m_vm.newObject();
    object->setProto(m_prototype);
    m_vm.define(*object, kData, Value(data), script::PropertyFlag::DontDelete);
    m_byPlace.emplace(place, object);
    m_entries.emplace(object, std::move(entry));
    return object;
}

bool SharedObjects::flush(script::Object& object, double minDiskSpace)
{
    const auto entry = m_entries.find(&object);
    if (entry == m_entries.end())
        return false;
    auto bytes = encode(object, entry->second);
    return bytes && store(entry->second, std::move(*bytes), minDiskSpace);
}

size_t SharedObjects::sizeOf(script::Object& object)
{
    const auto entry = m_entries.find(&object);
    const auto bytes = entry == m_entries.end() ? std::nullopt : encode(object, entry->second);
    return bytes ? bytes->size() : 0;
}

void SharedObjects::clear(script::Object& object)
{
    const auto entry = m_entries.find(&object);
    if (entry == m_entries.end())
        return;
    if (Object* data = dataOf(object); data && data->kind() == script::ObjectKind::Plain) {
        // Emptied in place: a script may hold the data object itself.
        std::vector<script::String> names;
        for (const script::Property& p : data->properties().slots())
            names.push_back(p.name);
        for (const script::String& name : names)
            data->properties().remove(name, script::CaseMode::Sensitive);
    } else {
        m_vm.define(object, kData, Value(m_vm.newObject()), script::PropertyFlag::DontDelete);
    }
    if (!entry->second.file.empty())
        SharedObjectStore::remove(entry->second.file);
    entry->second.stored.clear();
}

script::Object* SharedObjects::dataOf(script::Object& object) const
{
    const script::Property* data = script::ownProperty(object, kData);
    return data && !data->isAccessor() ? data->value.toObjectOrNull() : nullptr;
}

std::optional<std::vector<uint8_t>> SharedObjects::encode(script::Object& object, const Entry& entry)
{
    Object* data = dataOf(object);
    return data ? encodeSharedObject(m_vm, entry.name, *data, m_dates) : std::vector<uint8_t>();
}

// The allowance is shared with the other objects of the same folder; a request
// for more space than it leaves is refused, as the user would be asked for it.
bool SharedObjects::store(Entry& entry, std::vector<uint8_t> bytes, double minDiskSpace)
{
    const double others = entry.file.empty() ? 0 : double(SharedObjectStore::sizeBeside(entry.file));
    const double wanted = std::max(double(bytes.size()), std::isnan(minDiskSpace) ? 0 : minDiskSpace);
    // Nothing to keep takes no space: removing a file is never refused.
    if (wanted > 0 && others + wanted > double(kSharedObjectAllowance))
        return false;
    if (!entry.file.empty()) {
        if (bytes.empty())
            SharedObjectStore::remove(entry.file);
        else if (!SharedObjectStore::write(entry.file, bytes))
            return false;
    }
    entry.stored = std::move(bytes);
    return true;
}

} // namespace flash
