// Clip properties and children as members of a clip's script object.
#include "flash/scripting/ClipDelegate.h"

#include "flash/script/Interpreter.h"
#include "flash/script/String.h"
#include "flash/scripting/StageHost.h"
#include "flash/scripting/ClipMembers.h"
#include "flash/stage/ClipProperties.h"
#include "flash/stage/DisplayPath.h"

namespace flash {
namespace {

// "_level0", "_level12": a level by number.
bool isLevelPath(std::string_view name)
{
    constexpr std::string_view prefix = "_level";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 6 || !script::equalsFolded(name.substr(0, prefix.size()), prefix))
        return false;
    return name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos;
}


} // namespace

ClipDelegate::ClipDelegate(StageHost& host, DisplayObject& object)
    : m_host(host)
    , m_handle(handleOf(object))
    , m_path(dotPath(object))
    , m_pathRenames(host.stage().renames())
    , m_wasClip(object.clip != nullptr)
{
}

DisplayObject* ClipDelegate::target() const
{
    Stage& stage = m_host.stage();
    if (DisplayObject* object = stage.find(m_handle)) {
        if (m_pathRenames != stage.renames()) {
            m_path = dotPath(*object);
            m_pathRenames = stage.renames();
        }
        return object;
    }
    return resolvePath(m_host.levelRoots(), stage.root(), m_path, m_host.nameCase());
}

std::optional<script::Value> ClipDelegate::get(script::Interpreter& vm, script::Object& self, const script::String& name)
{
    DisplayObject* object = target();
    if (!object)
        return script::Value(); // a removed clip: everything reads undefined
    if (!isOriginal(*object))
        return vm.getMember(script::Value(m_host.objectFor(*object)), name);
    const NameCase nameCase = m_host.nameCase();
    if (const auto property = clipPropertyNamed(name.view(), nameCase))
        return m_host.readProperty(*object, *property);
    if (name.equals("_parent", vm.caseMode()))
        return object->parent ? script::Value(m_host.objectFor(*object->parent)) : script::Value();
    if (name.equals("_root", vm.caseMode()) || isLevelPath(name.view()))
        return script::Value(m_host.resolveTarget(&self, name.view()));
    if (const ClipMember* member = clipMemberNamed(name, vm.caseMode(), m_host.swfVersion()))
        return member->get(vm, self, *object);
    // A variable of the clip hides a child of the same name.
    if (self.properties().find(name, vm.caseMode()))
        return std::nullopt;
    if (DisplayObject* child = childNamed(*object, name.view(), nameCase))
        return script::Value(m_host.objectFor(*child));
    return std::nullopt;
}

script::Claim ClipDelegate::set(script::Interpreter& vm, script::Object&, const script::String& name,
                                const script::Value& value)
{
    DisplayObject* object = target();
    if (!object)
        return script::Claim::Taken; // written into nothing
    if (!isOriginal(*object)) {
        vm.setMember(script::Value(m_host.objectFor(*object)), name, value);
        return script::Claim::Taken;
    }
    if (const auto property = clipPropertyNamed(name.view(), m_host.nameCase())) {
        m_host.writeProperty(*object, *property, value);
        return script::Claim::Taken;
    }
    if (const ClipMember* member = clipMemberNamed(name, vm.caseMode(), m_host.swfVersion())) {
        member->set(vm, m_host, m_handle, value);
        return script::Claim::Taken;
    }
    // _lockroot is a variable too; the stage keeps its truth for paths that name _root.
    if (object->clip && name.equals("_lockroot", vm.caseMode()))
        object->clip->lockRoot = vm.toBoolean(value);
    return script::Claim::NotMine;
}

bool ClipDelegate::has(script::Interpreter& vm, script::Object& self, const script::String& name)
{
    DisplayObject* object = target();
    if (!object || !isOriginal(*object))
        return false;
    const NameCase nameCase = m_host.nameCase();
    if (clipPropertyNamed(name.view(), nameCase) || clipMemberNamed(name, vm.caseMode(), m_host.swfVersion()))
        return true;
    if (name.equals("_parent", vm.caseMode()))
        return object->parent != nullptr;
    return !self.properties().find(name, vm.caseMode()) && childNamed(*object, name.view(), nameCase);
}

void ClipDelegate::enumerate(script::Interpreter&, script::Object&, std::vector<script::String>& names)
{
    DisplayObject* object = target();
    if (!object || !isOriginal(*object))
        return;
    if (const DisplayList* children = liveChildren(*object)) {
        for (const auto& [depth, child] : children->objects()) {
            if (!child->name.empty())
                names.emplace_back(child->name);
        }
    }
}

} // namespace flash
