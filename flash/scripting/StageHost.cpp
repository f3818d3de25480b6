// The host seam on the live stage.
#include "flash/scripting/StageHost.h"

#include "flash/io/LocalUrl.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/ClipDelegate.h"
#include "flash/scripting/MovieLoads.h"
#include "flash/scripting/SoundScripts.h"
#include "flash/scripting/TextFieldDelegate.h"
#include "flash/stage/LocalBounds.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

Q_LOGGING_CATEGORY(lcScript, "flash.script", QtWarningMsg)

namespace flash {
namespace {

script::Value toValue(const PropertyValue& value)
{
    if (const auto* number = std::get_if<double>(&value))
        return script::Value(*number);
    if (const auto* flag = std::get_if<bool>(&value))
        return script::Value(*flag);
    return script::Value(std::string_view(std::get<std::string>(value)));
}

// removeMovieClip takes clips at script depths 0 and up (stored kScriptDepthBase higher).
bool isScriptDepth(Depth depth)
{
    return depth >= kScriptDepthBase && depth <= kScriptDepthBase + kHighestScriptDepth;
}

} // namespace

StageHost::StageHost(Stage& stage, ScriptOutput output, std::function<double()> clock)
    : m_stage(stage)
    , m_output(std::move(output))
    , m_clock(std::move(clock))
    , m_nameCase(stage.movie().header.version >= 7 ? NameCase::Sensitive : NameCase::Insensitive)
    , m_random(0x5eed)
{
    m_stage.registry().setForgetObserver([this](uint64_t id) {
        m_objects.erase(id);
        m_constructed.erase(id);
        m_drawn.erase(id);
    });
}

StageHost::~StageHost()
{
    m_stage.registry().setForgetObserver({});
}

void StageHost::detach()
{
    if (m_vm && m_rootSource)
        m_vm->heap().removeRootSource(m_rootSource);
    m_vm = nullptr;
    m_rootSource = 0;
}

void StageHost::attach(script::Interpreter& vm)
{
    m_vm = &vm;
    m_rootSource = vm.heap().addRootSource([this](script::Tracer& tracer) {
        for (const auto& [id, object] : m_objects)
            tracer.mark(object);
        for (const auto& [character, constructor] : m_classes)
            tracer.mark(constructor);
        tracer.mark(m_clipPrototype);
        tracer.mark(m_buttonPrototype);
        tracer.mark(m_fieldPrototype);
        tracer.mark(m_videoPrototype);
    });
}

void StageHost::setPrototypes(script::Object* clip, script::Object* button)
{
    m_clipPrototype = clip;
    m_buttonPrototype = button;
}

script::Object* StageHost::objectFor(DisplayObject& object)
{
    if (object.id == 0 || !m_vm)
        return nullptr;
    if (auto found = m_objects.find(object.id); found != m_objects.end())
        return found->second;
    std::unique_ptr<ClipDelegate> delegate = object.editText ? std::make_unique<TextFieldDelegate>(*this, object)
                                                             : std::make_unique<ClipDelegate>(*this, object);
    auto* made = m_vm->heap().make<script::HostObject>(prototypeFor(object), std::move(delegate));
    m_objects.emplace(object.id, made);
    return made;
}

script::Object* StageHost::existingObjectFor(const DisplayObject& object) const
{
    const auto found = m_objects.find(object.id);
    return found != m_objects.end() ? found->second : nullptr;
}

script::Object* StageHost::prototypeFor(const DisplayObject& object) const
{
    if (object.clip && m_clipPrototype)
        return m_clipPrototype;
    if (std::holds_alternative<std::shared_ptr<const ButtonDef>>(object.character) && m_buttonPrototype)
        return m_buttonPrototype;
    if (object.editText && m_fieldPrototype)
        return m_fieldPrototype;
    if (std::holds_alternative<std::shared_ptr<const VideoDef>>(object.character) && m_videoPrototype)
        return m_videoPrototype;
    return m_vm ? m_vm->prototypes().object : nullptr;
}

DisplayObject* StageHost::displayObjectOf(const script::Object* object) const
{
    if (!object || object->kind() != script::ObjectKind::Host)
        return nullptr;
    const auto* delegate = dynamic_cast<const ClipDelegate*>(static_cast<const script::HostObject*>(object)->delegate());
    return delegate ? delegate->target() : nullptr;
}

DisplayObject* StageHost::displayObjectOf(const script::Value& value) const
{
    return displayObjectOf(value.toObjectOrNull());
}

DisplayObject* StageHost::clipOf(script::Object& object) const
{
    DisplayObject* found = displayObjectOf(&object);
    return found && found->clip ? found : nullptr;
}

script::Object* StageHost::classFor(const DisplayObject& clip) const
{
    const auto it = m_classes.find({&m_stage.movieOf(clip), clip.characterId});
    return it == m_classes.end() ? nullptr : it->second;
}

void StageHost::constructNow(DisplayObject& clip)
{
    if (!m_constructed.insert(clip.id).second)
        return;
    script::Object* constructor = classFor(clip);
    script::Object* self = constructor ? objectFor(clip) : nullptr;
    if (!self)
        return;
    // The clip becomes an instance of its class before the constructor runs on it.
    const script::Value prototype = m_vm->getMember(script::Value(constructor), m_vm->names().prototype);
    if (script::Object* proto = prototype.toObjectOrNull())
        self->setProto(proto);
    self->properties().put(m_vm->names().ctor, script::Value(constructor), script::PropertyFlag::DontEnum);
    m_vm->call(script::Value(constructor), script::Value(self));
}

std::optional<uint16_t> StageHost::exportedCharacter(std::string_view linkage, const DisplayObject* from) const
{
    const Movie& movie = from ? m_stage.movieOf(*from) : m_stage.movie();
    for (const auto& [name, id] : movie.exports) {
        if (namesEqual(name, linkage, m_nameCase))
            return id;
    }
    return std::nullopt;
}

// ---- Paths and properties ----

script::Object* StageHost::resolveTarget(script::Object* from, std::string_view path)
{
    DisplayObject* start = from ? displayObjectOf(from) : nullptr;
    if (!start)
        start = &m_stage.root();
    DisplayObject* found = resolvePath(levelRoots(), *start, path, m_nameCase);
    return found ? objectFor(*found) : nullptr;
}

LevelRoots StageHost::levelRoots() const
{
    return [&stage = m_stage](int number) { return stage.level(number); };
}

script::Object* StageHost::level(int n)
{
    DisplayObject* root = m_stage.level(n);
    return root ? objectFor(*root) : nullptr;
}

script::Object* StageHost::parentOf(script::Object& clip)
{
    DisplayObject* object = displayObjectOf(&clip);
    return object && object->parent ? objectFor(*object->parent) : nullptr;
}

bool StageHost::isClip(const script::Object& object) const
{
    if (object.kind() != script::ObjectKind::Host)
        return false;
    const auto* delegate = dynamic_cast<const ClipDelegate*>(static_cast<const script::HostObject&>(object).delegate());
    return delegate && delegate->wasClip();
}

std::string StageHost::targetPath(script::Object& clip, script::PathStyle style)
{
    DisplayObject* object = displayObjectOf(&clip);
    if (!object)
        return {};
    return style == script::PathStyle::Dot ? dotPath(*object) : slashPath(*object);
}

script::Value StageHost::readProperty(DisplayObject& object, ClipProperty property)
{
    return toValue(clipProperty(m_stage, object, property));
}

void StageHost::writeProperty(DisplayObject& object, ClipProperty property, const script::Value& value)
{
    // Converting runs valueOf or toString, which may remove the object: find it again after.
    const ObjectHandle handle = handleOf(object);
    PropertyValue converted;
    switch (clipPropertyKind(property)) {
    case PropertyKind::Number:
        converted = m_vm->toNumber(value);
        break;
    case PropertyKind::Text:
        converted = m_vm->toString(value).toStd();
        break;
    case PropertyKind::Boolean:
        // Numbers and numeric strings count by their value, as older movies write _visible = 0.
        converted = value.isString() ? m_vm->toNumber(value) != 0 : m_vm->toBoolean(value);
        break;
    }
    if (DisplayObject* again = m_stage.find(handle))
        setClipProperty(m_stage, *again, property, converted);
}

script::Value StageHost::getProperty(script::Object* clip, int index)
{
    DisplayObject* object = clip ? displayObjectOf(clip) : nullptr;
    const auto property = clipPropertyAt(index);
    if (!object || !property)
        return {};
    return readProperty(*object, *property);
}

void StageHost::setProperty(script::Object* clip, int index, const script::Value& value)
{
    DisplayObject* object = clip ? displayObjectOf(clip) : nullptr;
    const auto property = clipPropertyAt(index);
    if (object && property)
        writeProperty(*object, *property, value);
}

// ---- Timelines ----

void StageHost::gotoFrame(script::Object& clip, uint32_t frame, script::GotoPlay play)
{
    DisplayObject* object = clipOf(clip);
    if (!object)
        return;
    m_stage.gotoFrame(*object, frame);
    play == script::GotoPlay::Play ? Stage::play(*object) : Stage::stop(*object);
}

bool StageHost::gotoLabel(script::Object& clip, std::string_view label, script::GotoPlay play)
{
    DisplayObject* object = clipOf(clip);
    if (!object || !m_stage.gotoLabel(*object, std::string(label)))
        return false;
    play == script::GotoPlay::Play ? Stage::play(*object) : Stage::stop(*object);
    return true;
}

void StageHost::play(script::Object& clip)
{
    if (DisplayObject* object = clipOf(clip))
        Stage::play(*object);
}

void StageHost::stop(script::Object& clip)
{
    if (DisplayObject* object = clipOf(clip))
        Stage::stop(*object);
}

void StageHost::nextFrame(script::Object& clip)
{
    if (DisplayObject* object = clipOf(clip)) {
        if (object->clip->currentFrame + 1 < object->clip->frameCount())
            m_stage.gotoFrame(*object, object->clip->currentFrame + 1);
        Stage::stop(*object);
    }
}

void StageHost::prevFrame(script::Object& clip)
{
    if (DisplayObject* object = clipOf(clip)) {
        if (object->clip->currentFrame > 0)
            m_stage.gotoFrame(*object, object->clip->currentFrame - 1);
        Stage::stop(*object);
    }
}

script::FrameCounts StageHost::frames(script::Object& clip)
{
    DisplayObject* object = clipOf(clip);
    const uint32_t total = object ? object->clip->frameCount() : 0;
    // The whole file is loaded before the first frame runs.
    return {total, total};
}

std::optional<uint32_t> StageHost::frameOfLabel(script::Object& clip, std::string_view label)
{
    DisplayObject* object = clipOf(clip);
    if (!object || !object->clip->timeline)
        return std::nullopt;
    return object->clip->timeline->frameOfLabel(std::string(label));
}

void StageHost::callFrame(script::Object& clip, uint32_t frame)
{
    DisplayObject* object = clipOf(clip);
    if (!object || !object->clip->timeline || frame >= object->clip->frameCount())
        return;
    const std::shared_ptr<const Movie> movie = m_stage.sharedMovieOf(*object);
    const int version = movie->header.version;
    for (const ControlTag& tag : object->clip->timeline->frames[frame].tags) {
        if (const auto* action = std::get_if<DoAction>(&tag); action && !action->initSpriteId)
            m_vm->run({action->actions, movie, version}, &clip);
    }
}

// ---- Script-made clips ----

void StageHost::cloneSprite(script::Object& source, std::string_view name, int depth)
{
    DisplayObject* original = displayObjectOf(&source);
    if (!original || depth < kLowestScriptDepth || depth > kHighestScriptDepth)
        return;
    m_stage.duplicate(*original, Depth(depth) + kScriptDepthBase, std::string(name));
}

void StageHost::removeScriptClip(DisplayObject& object)
{
    if (isScriptDepth(object.depth) && &object != &m_stage.root())
        m_stage.remove(object);
}

void StageHost::removeSprite(script::Object& clip)
{
    if (DisplayObject* object = displayObjectOf(&clip))
        removeScriptClip(*object);
}

void StageHost::startDrag(script::Object& clip, script::DragCenter center, std::optional<script::DragBounds> bounds)
{
    DisplayObject* object = displayObjectOf(&clip);
    if (!object)
        return;
    // Where the pointer stands in the clip's parent, so that the clip keeps its distance from it.
    Point pointer = m_stage.mousePosition();
    if (object->parent) {
        if (const auto toParent = toStage(*object->parent).inverted())
            pointer = toParent->map(pointer);
    }
    const Point grabOffset{object->matrix.tx - pointer.x, object->matrix.ty - pointer.y};
    m_drag = Drag{handleOf(*object), center, bounds, grabOffset};
}

void StageHost::endDrag()
{
    m_drag.reset();
}

// ---- Drawings ----

Drawing& StageHost::drawingOf(DisplayObject& clip)
{
    if (!clip.drawingBuilder)
        clip.drawingBuilder = std::make_unique<Drawing>();
    m_drawn.insert(clip.id);
    return *clip.drawingBuilder;
}

void StageHost::publishDrawings()
{
    for (uint64_t id : m_drawn) {
        if (DisplayObject* clip = m_stage.find(ObjectHandle{id}); clip && clip->drawingBuilder)
            clip->drawing = clip->drawingBuilder->shape();
    }
    m_drawn.clear();
}

// ---- The player ----

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
           && std::equal(prefix.begin(), prefix.end(), text.begin(),
                         [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

} // namespace

// Loads go to the movie's folder; a page opens in the desktop's browser or mail
// program only from a user's click or key, and only for web and mail addresses;
// FSCommands run nothing.
void StageHost::getUrl(const script::UrlRequest& request)
{
    if (startsWithIgnoringCase(request.url, "fscommand:"))
        return;
    const bool levelTarget = startsWithIgnoringCase(request.target, "_level");
    if (m_movieLoads && (request.load == script::UrlLoad::Variables || request.targetKind == script::UrlTarget::Clip
                         || levelTarget)) {
        const auto target = m_movieLoads->targetOf(request.from, script::Value(m_vm->makeString(request.target)));
        if (!target)
            return;
        if (request.load == script::UrlLoad::Variables)
            m_movieLoads->loadVariables(*target, request.url);
        else
            m_movieLoads->loadMovie(*target, request.url);
        return;
    }
    const bool webOrMail = startsWithIgnoringCase(request.url, "http://") || startsWithIgnoringCase(request.url, "https://")
                           || startsWithIgnoringCase(request.url, "mailto:");
    if (webOrMail && m_handlingUserInput && m_urlOpener)
        m_urlOpener(request.url);
    else
        qCInfo(lcScript, "getURL not followed: %s", request.url.c_str());
}

std::optional<std::string> StageHost::readLocalFile(std::string_view url)
{
    // What a movie reads as text or data is small; a larger file is refused rather than read.
    constexpr uintmax_t kMaxBytes = 64u * 1024 * 1024;
    const auto path = resolveLocalUrl(m_stage.folder(), url);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error) || std::filesystem::file_size(*path, error) > kMaxBytes)
        return std::nullopt;
    std::ifstream file(*path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof())
        return std::nullopt;
    return bytes;
}

void StageHost::toggleQuality()
{
    PlayerSettingsSeen& settings = m_stage.playerSettings();
    settings.quality = settings.quality == "LOW" ? "HIGH" : "LOW";
    settings.highQuality = settings.quality == "LOW" ? 0 : 1;
}

void StageHost::stopSounds()
{
    if (m_soundScripts && m_soundScripts->mixer())
        m_soundScripts->mixer()->stopAll();
}

void StageHost::trace(std::string_view line)
{
    if (m_output.trace)
        m_output.trace(line);
}

uint32_t StageHost::random(uint32_t bound)
{
    return bound <= 1 ? 0 : std::uniform_int_distribution<uint32_t>(0, bound - 1)(m_random);
}

void StageHost::report(std::string_view line)
{
    // A movie that faults every frame says so a bounded number of times.
    if (m_reportsLeft == 0)
        return;
    --m_reportsLeft;
    if (m_output.report)
        m_output.report(line);
    else
        qCWarning(lcScript, "%.*s", int(line.size()), line.data());
}

bool StageHost::registerClass(std::string_view linkage, script::Object* constructor)
{
    // The linkage is the exporting movie's own: the movie whose actions run now.
    const DisplayObject* running = m_stage.find(m_runningClip);
    const Movie& movie = running ? m_stage.movieOf(*running) : m_stage.movie();
    const auto character = exportedCharacter(linkage, running);
    if (!character)
        return false;
    const std::pair<const Movie*, uint16_t> key{&movie, *character};
    if (constructor)
        m_classes[key] = constructor;
    else
        m_classes.erase(key);
    return true;
}

} // namespace flash
