// The fake host: clips are host-backed objects whose delegate answers their children's names.
#include "FakeScriptHost.h"

#include "flash/script/Conversions.h"

namespace flash::script::testing {

namespace {

class ClipDelegate : public HostDelegate {
public:
    ClipDelegate(FakeScriptHost& host, FakeClip& clip) : m_host(host), m_clip(clip) { }

    std::optional<Value> get(Interpreter& vm, Object&, const String& name) override
    {
        for (const auto& child : m_clip.children) {
            if (name.equals(child->name, vm.caseMode()))
                return Value(static_cast<Object*>(child->object));
        }
        if (name.equals("_name", vm.caseMode()))
            return Value(m_clip.name);
        if (name.equals("_parent", vm.caseMode()) && m_clip.parent)
            return Value(static_cast<Object*>(m_clip.parent->object));
        return std::nullopt;
    }
    Claim set(Interpreter&, Object&, const String&, const Value&) override { return Claim::NotMine; }
    void enumerate(Interpreter&, Object&, std::vector<String>& names) override
    {
        for (const auto& child : m_clip.children)
            names.emplace_back(child->name);
    }

private:
    FakeScriptHost& m_host;
    FakeClip& m_clip;
};

} // namespace

void FakeScriptHost::attach(Interpreter& vm)
{
    m_vm = &vm;
    makeObject(m_root);
}

void FakeScriptHost::makeObject(FakeClip& clip)
{
    clip.object = m_vm->heap().make<HostObject>(m_vm->prototypes().object, std::make_unique<ClipDelegate>(*this, clip));
    m_vm->heap().addRoot(clip.object);
}

FakeClip& FakeScriptHost::addClip(FakeClip& parent, std::string name)
{
    parent.children.push_back(std::make_unique<FakeClip>());
    FakeClip& clip = *parent.children.back();
    clip.name = std::move(name);
    clip.parent = &parent;
    makeObject(clip);
    return clip;
}

FakeClip* FakeScriptHost::clipOf(const Object* object)
{
    std::vector<FakeClip*> pending { &m_root };
    while (!pending.empty()) {
        FakeClip* c = pending.back();
        pending.pop_back();
        if (c->object == object)
            return c;
        for (auto& child : c->children)
            pending.push_back(child.get());
    }
    return nullptr;
}

std::string FakeScriptHost::output() const
{
    std::string out;
    for (const auto& line : traces)
        out += (out.empty() ? "" : "\n") + line;
    return out;
}

Object* FakeScriptHost::resolveTarget(Object* from, std::string_view path)
{
    FakeClip* at = clipOf(from);
    if (!at)
        at = &m_root;
    if (path.starts_with("/")) {
        at = &m_root;
        path.remove_prefix(1);
    }
    while (!path.empty()) {
        const size_t cut = path.find_first_of("/.");
        std::string_view part = path.substr(0, cut);
        path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
        if (part.empty() || part == "this")
            continue;
        if (part == ".." || equalsFolded(part, "_parent")) {
            at = at->parent;
        } else if (equalsFolded(part, "_root") || equalsFolded(part, "_level0")) {
            at = &m_root;
        } else {
            FakeClip* next = nullptr;
            for (auto& child : at->children) {
                if (equalsFolded(child->name, part))
                    next = child.get();
            }
            at = next;
        }
        if (!at)
            return nullptr;
    }
    return at->object;
}

Object* FakeScriptHost::level(int n) { return n == 0 ? m_root.object : nullptr; }

Object* FakeScriptHost::parentOf(Object& clip)
{
    FakeClip* c = clipOf(&clip);
    return c && c->parent ? c->parent->object : nullptr;
}

bool FakeScriptHost::isClip(const Object& object) const
{
    return object.kind() == ObjectKind::Host && static_cast<const HostObject&>(object).delegate();
}

std::string FakeScriptHost::targetPath(Object& clip, PathStyle style)
{
    FakeClip* c = clipOf(&clip);
    if (!c)
        return {};
    std::string path;
    for (; c && c->parent; c = c->parent)
        path = (style == PathStyle::Dot ? "." : "/") + c->name + path;
    return style == PathStyle::Dot ? "_level0" + path : (path.empty() ? "/" : path);
}

std::string FakeScriptHost::nameOf(Object& clip)
{
    FakeClip* c = clipOf(&clip);
    return c ? c->name : "?";
}

Value FakeScriptHost::getProperty(Object* clip, int index)
{
    if (!clip || index < 0 || index >= 22)
        return Value();
    if (index == 13)
        return Value(nameOf(*clip));
    return Value(m_props[index]);
}

void FakeScriptHost::setProperty(Object* clip, int index, const Value& value)
{
    if (clip && index >= 0 && index < 22 && value.isNumber())
        m_props[index] = value.asNumber();
}

void FakeScriptHost::gotoFrame(Object& clip, uint32_t frame, GotoPlay play)
{
    calls.push_back("gotoFrame " + nameOf(clip) + " " + std::to_string(frame) + (play == GotoPlay::Play ? " play" : " stop"));
}

bool FakeScriptHost::gotoLabel(Object& clip, std::string_view label, GotoPlay play)
{
    calls.push_back("gotoLabel " + nameOf(clip) + " " + std::string(label) + (play == GotoPlay::Play ? " play" : " stop"));
    return true;
}

void FakeScriptHost::play(Object& clip) { calls.push_back("play " + nameOf(clip)); }
void FakeScriptHost::stop(Object& clip) { calls.push_back("stop " + nameOf(clip)); }
void FakeScriptHost::nextFrame(Object& clip) { calls.push_back("nextFrame " + nameOf(clip)); }
void FakeScriptHost::prevFrame(Object& clip) { calls.push_back("prevFrame " + nameOf(clip)); }

FrameCounts FakeScriptHost::frames(Object& clip)
{
    FakeClip* c = clipOf(&clip);
    return c ? FrameCounts { c->loadedFrames, c->totalFrames } : FrameCounts {};
}

std::optional<uint32_t> FakeScriptHost::frameOfLabel(Object&, std::string_view label)
{
    if (label == "intro")
        return 4;
    return std::nullopt;
}

void FakeScriptHost::callFrame(Object& clip, uint32_t frame)
{
    calls.push_back("callFrame " + nameOf(clip) + " " + std::to_string(frame));
}

void FakeScriptHost::cloneSprite(Object& source, std::string_view name, int depth)
{
    calls.push_back("clone " + nameOf(source) + " " + std::string(name) + " " + std::to_string(depth));
}

void FakeScriptHost::removeSprite(Object& clip) { calls.push_back("remove " + nameOf(clip)); }

void FakeScriptHost::startDrag(Object& clip, DragCenter center, std::optional<DragBounds> bounds)
{
    std::string text = "startDrag " + nameOf(clip) + (center == DragCenter::LockToPointer ? " lock" : "");
    if (bounds)
        text += " " + numberToString(bounds->left) + "," + numberToString(bounds->top) + "," + numberToString(bounds->right)
            + "," + numberToString(bounds->bottom);
    calls.push_back(text);
}

void FakeScriptHost::endDrag() { calls.push_back("endDrag"); }

void FakeScriptHost::getUrl(const UrlRequest& request)
{
    calls.push_back("getUrl " + request.url + " " + request.target + " " + std::to_string(int(request.method))
                    + (request.load == UrlLoad::Variables ? " vars" : ""));
}

bool FakeScriptHost::registerClass(std::string_view linkage, Object* constructor)
{
    calls.push_back("registerClass " + std::string(linkage) + (constructor ? "" : " none"));
    return true;
}

} // namespace flash::script::testing
