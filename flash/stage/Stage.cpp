// Playheads and the goto rules, the life of display objects, and the work queues.
//
// Going forward applies each skipped frame's display tags in order without its
// actions. Going backward keeps every timeline object the target frame still
// holds (the same placement: same character, placed on the same frame), with
// its scripted state, removes the others and places what is missing; a clip
// placed anew starts at its first frame. Objects made by scripts are never
// touched by the timeline. Looping is a goto to the first frame.
#include "flash/stage/Stage.h"

#include "flash/stage/TimelineApplier.h"

#include <algorithm>

namespace flash {
namespace {

const Timeline kNoFrames;

template<typename Visit>
void forEachChild(DisplayObject& object, Visit&& visit)
{
    if (DisplayList* children = liveChildren(object)) {
        for (auto& [depth, child] : children->objects())
            visit(*child);
    }
}

void markRemoved(DisplayObject& object)
{
    object.removed = true;
    forEachChild(object, [](DisplayObject& child) { markRemoved(child); });
}

} // namespace

// New and removed objects of a frame's tags, for the live stage.
class Stage::Placements final : public PlacementSink {
public:
    Placements(Stage& stage, DisplayObject& parent) : m_stage(stage), m_parent(parent) { }
    [[nodiscard]] bool hasRoom() const override { return m_stage.hasRoom(1); }
    void placed(DisplayObject& object) override { m_stage.bringToLife(object, m_parent); }
    void removed(std::unique_ptr<DisplayObject> object) override { m_stage.retire(std::move(object)); }

private:
    Stage& m_stage;
    DisplayObject& m_parent;
};

DisplayObject* owningClip(DisplayObject& object)
{
    DisplayObject* at = &object;
    while (at && !at->clip)
        at = at->parent;
    return at;
}

Stage::Stage(std::shared_ptr<const Movie> movie)
    : m_movie(movie ? std::move(movie) : std::make_shared<const Movie>())
    , m_emptySprite(std::make_shared<const SpriteDef>())
{
    m_root = std::make_unique<DisplayObject>();
    m_root->character = m_emptySprite;
    m_registry.enroll(*m_root);
    m_root->clip = std::make_unique<ClipState>();
    m_root->clip->movie = m_movie;
    m_root->clip->timeline = &m_movie->timeline;
    m_root->clip->children = std::make_unique<DisplayList>();
    if (m_root->clip->frameCount() > 0)
        enterFrame(*m_root, 0);
    collectPending(*m_root);
}

Stage::~Stage()
{
    // Removed objects and the tree go before the registry they are enrolled in.
    m_removed.clear();
    m_levels.clear();
    m_root.reset();
}

// ---- Levels and loaded movies ----

DisplayObject* Stage::level(int number) const
{
    if (number == 0)
        return m_root.get();
    const auto it = m_levels.find(number);
    return it == m_levels.end() ? nullptr : it->second.get();
}

std::vector<const DisplayObject*> Stage::levels() const
{
    std::vector<const DisplayObject*> roots{m_root.get()};
    for (const auto& [number, root] : m_levels)
        roots.push_back(root.get());
    return roots;
}

std::vector<DisplayObject*> Stage::levelRoots()
{
    std::vector<DisplayObject*> roots{m_root.get()};
    for (auto& [number, root] : m_levels)
        roots.push_back(root.get());
    return roots;
}

std::optional<int> Stage::levelNumberOf(const DisplayObject& object) const
{
    if (&object == m_root.get())
        return 0;
    for (const auto& [number, root] : m_levels) {
        if (root.get() == &object)
            return number;
    }
    return std::nullopt;
}

void Stage::loadLevel(int number, std::shared_ptr<const Movie> movie, std::string url)
{
    if (number == 0) {
        loadInto(*m_root, std::move(movie), std::move(url));
        return;
    }
    unloadLevel(number);
    if (!movie || number < 0 || !hasRoom(1))
        return;
    auto root = std::make_unique<DisplayObject>();
    root->character = m_emptySprite;
    root->depth = number;
    m_registry.enroll(*root);
    root->clip = std::make_unique<ClipState>();
    root->clip->children = std::make_unique<DisplayList>();
    DisplayObject& placed = *root;
    m_levels[number] = std::move(root);
    loadInto(placed, std::move(movie), std::move(url));
}

void Stage::unloadLevel(int number)
{
    if (number == 0) {
        loadInto(*m_root, nullptr);
        return;
    }
    const auto it = m_levels.find(number);
    if (it == m_levels.end())
        return;
    std::unique_ptr<DisplayObject> gone = std::move(it->second);
    m_levels.erase(it);
    retire(std::move(gone));
}

void Stage::loadInto(DisplayObject& clip, std::shared_ptr<const Movie> movie, std::string url)
{
    if (!clip.clip || clip.removed)
        return;
    // What the clip showed leaves the stage, with its unload handlers.
    for (auto& [depth, child] : clip.clip->children->objects())
        retire(std::move(child));
    clip.clip->children = std::make_unique<DisplayList>();
    clip.drawing.reset();
    clip.drawingBuilder.reset();
    ClipState& state = *clip.clip;
    state.movie = movie ? std::move(movie) : std::make_shared<const Movie>();
    state.url = std::move(url);
    state.def.reset();
    state.timeline = &state.movie->timeline;
    state.currentFrame = 0;
    state.playing = true;
    state.actionsPending = false;
    if (state.frameCount() > 0)
        enterFrame(clip, 0);
    collectPending(clip, nestingOf(clip));
}

const DisplayObject& Stage::movieRootOf(const DisplayObject& object) const
{
    const DisplayObject* at = &object;
    for (uint32_t guard = 0; at && guard <= kMaxNesting + 2; at = at->parent, ++guard) {
        if (at->clip && at->clip->movie)
            return *at;
    }
    return *m_root;
}

const std::string& Stage::urlOf(const DisplayObject& object) const
{
    const DisplayObject& root = movieRootOf(object);
    return &root == m_root.get() || !root.clip || root.clip->url.empty() ? m_url : root.clip->url;
}

const std::shared_ptr<const Movie>& Stage::sharedMovieOf(const DisplayObject& object) const
{
    const DisplayObject& root = movieRootOf(object);
    return root.clip && root.clip->movie ? root.clip->movie : m_movie;
}

std::optional<uint32_t> Stage::mainFrameFor(const DisplayObject& clip) const
{
    const DisplayObject& root = movieRootOf(clip);
    if (&clip == &root)
        return std::nullopt;
    return root.clip->currentFrame;
}

const Timeline& Stage::timelineOf(const DisplayObject& clip) const
{
    return clip.clip && clip.clip->timeline ? *clip.clip->timeline : kNoFrames;
}

DisplayObject* Stage::find(ObjectHandle handle) const
{
    DisplayObject* object = m_registry.find(handle);
    return object && !object->removed ? object : nullptr;
}

bool Stage::hasRoom(size_t objects) const
{
    return m_registry.size() + objects <= kMaxLiveObjects;
}

uint32_t Stage::nestingOf(const DisplayObject& object) const
{
    uint32_t nesting = 0;
    for (const DisplayObject* at = object.parent; at && nesting <= kMaxNesting + 1; at = at->parent)
        ++nesting;
    return nesting;
}

// ---- Playheads ----

void Stage::advance()
{
    advanceClip(*m_root, 0);
    collectPending(*m_root);
    for (auto& [number, root] : m_levels) {
        advanceClip(*root, 0);
        collectPending(*root);
    }
}

void Stage::advanceClip(DisplayObject& clip, uint32_t nesting)
{
    if (nesting > kMaxNesting)
        return;
    // The clips on stage now advance first; what this clip places below starts at its first frame.
    // No script runs here, and a child changes only its own subtree, so the walk is safe.
    forEachChild(clip, [&](DisplayObject& child) {
        if (child.clip)
            advanceClip(child, nesting + 1);
        else if (child.buttonChildren)
            forEachChild(child, [&](DisplayObject& shown) {
                if (shown.clip)
                    advanceClip(shown, nesting + 2);
            });
    });
    if (clip.clip && clip.clip->playing)
        stepForward(clip);
}

void Stage::stepForward(DisplayObject& clip)
{
    ClipState& state = *clip.clip;
    const uint32_t count = state.frameCount();
    if (count <= 1)
        return;
    if (state.currentFrame + 1 < count)
        enterFrame(clip, state.currentFrame + 1);
    else if (&clip == m_root.get() && m_looping == Looping::Off)
        state.playing = false;
    else
        goBackward(clip, 0);
}

void Stage::enterFrame(DisplayObject& clip, uint32_t frame)
{
    const Frame& tags = timelineOf(clip).frames[frame];
    Placements placements(*this, clip);
    TimelineApplier(movieOf(clip), *clip.clip->children, &placements, mainFrameFor(clip)).applyFrame(tags, frame);
    clip.clip->currentFrame = frame;
    clip.clip->actionsPending = true;
    queueInitActions(clip, tags);
    queueSoundCues(clip, tags, frame);
}

void Stage::queueSoundCues(DisplayObject& clip, const Frame& tags, uint32_t frame)
{
    // A movie that starts sounds faster than anything can play them loses the surplus.
    constexpr size_t kMaxCues = 4096;
    for (const ControlTag& tag : tags.tags) {
        if (const auto* start = std::get_if<StartSound>(&tag); start && m_soundCues.size() < kMaxCues)
            m_soundCues.push_back({handleOf(clip), start, frame});
    }
    if (!tags.soundBlock.empty() && m_soundCues.size() < kMaxCues)
        m_soundCues.push_back({handleOf(clip), nullptr, frame});
}

void Stage::queueInitActions(DisplayObject& clip, const Frame& frame)
{
    for (const ControlTag& tag : frame.tags) {
        const auto* action = std::get_if<DoAction>(&tag);
        if (action && action->initSpriteId && m_initialized.insert({&movieOf(clip), *action->initSpriteId}).second)
            m_initWork.push_back({handleOf(clip), action});
    }
}

void Stage::gotoFrame(DisplayObject& clip, uint32_t frame)
{
    if (!clip.clip || clip.removed)
        return;
    const uint32_t count = clip.clip->frameCount();
    if (count == 0)
        return;
    frame = std::min(frame, count - 1);
    if (frame == clip.clip->currentFrame)
        return;
    if (frame > clip.clip->currentFrame)
        goForward(clip, frame);
    else
        goBackward(clip, frame);
    // The frame gone to sounds as if played into: its event sounds start, and
    // its stream block starts the stream there (stopped again if the clip stands).
    queueSoundCues(clip, timelineOf(clip).frames[frame], frame);
    collectPending(clip, nestingOf(clip));
}

bool Stage::gotoLabel(DisplayObject& clip, const std::string& label)
{
    const auto frame = timelineOf(clip).frameOfLabel(label);
    if (!frame)
        return false;
    gotoFrame(clip, *frame);
    return true;
}

void Stage::play(DisplayObject& clip)
{
    if (clip.clip)
        clip.clip->playing = true;
}

void Stage::stop(DisplayObject& clip)
{
    if (clip.clip)
        clip.clip->playing = false;
}

void Stage::goForward(DisplayObject& clip, uint32_t target)
{
    const Timeline& timeline = timelineOf(clip);
    Placements placements(*this, clip);
    TimelineApplier applier(movieOf(clip), *clip.clip->children, &placements, mainFrameFor(clip));
    for (uint32_t frame = clip.clip->currentFrame + 1; frame <= target; ++frame) {
        applier.applyFrame(timeline.frames[frame], frame);
        clip.clip->currentFrame = frame;
        queueInitActions(clip, timeline.frames[frame]);
    }
    clip.clip->actionsPending = true;
}

void Stage::goBackward(DisplayObject& clip, uint32_t target)
{
    // What the target frame holds, as bare data.
    const Timeline& timeline = timelineOf(clip);
    DisplayList wanted;
    TimelineApplier builder(movieOf(clip), wanted, nullptr, mainFrameFor(clip));
    for (uint32_t frame = 0; frame <= target; ++frame)
        builder.applyFrame(timeline.frames[frame], frame);

    auto& live = clip.clip->children->objects();
    for (auto it = live.begin(); it != live.end();) {
        DisplayObject& object = *it->second;
        const DisplayObject* same = wanted.at(it->first);
        if (object.origin == Origin::Script) {
            ++it;
        } else if (same && same->characterId == object.characterId && same->placedOnFrame == object.placedOnFrame) {
            copyPlacedFields(*same, object);
            ++it;
        } else {
            std::unique_ptr<DisplayObject> gone = std::move(it->second);
            it = live.erase(it);
            retire(std::move(gone));
        }
    }
    for (auto& [depth, object] : wanted.objects()) {
        if (live.contains(depth))
            continue;
        DisplayObject& placed = *(live[depth] = std::move(object));
        bringToLife(placed, clip);
    }
    clip.clip->currentFrame = target;
    clip.clip->actionsPending = true;
    queueInitActions(clip, timeline.frames[target]);
}

// ---- Life of display objects ----

void Stage::bringToLife(DisplayObject& object, DisplayObject& parent)
{
    m_registry.enroll(object);
    object.parent = &parent;
    // Clips, buttons and fields placed without a name are called "instance1", "instance2", ... as
    // scripts see them, so that their paths and _name lead back to them.
    const bool scriptable = isSprite(object.character)
                            || std::holds_alternative<std::shared_ptr<const ButtonDef>>(object.character)
                            || std::holds_alternative<std::shared_ptr<const EditTextDef>>(object.character);
    if (object.name.empty() && scriptable)
        object.name = "instance" + std::to_string(++m_unnamedInstances);
    const uint32_t nesting = nestingOf(object);
    if (isSprite(object.character))
        startClip(object, nesting);
    else if (std::holds_alternative<std::shared_ptr<const ButtonDef>>(object.character))
        startButton(object, nesting);
    startEditText(object);
}

// A field placed anew (or a character replaced by another) starts from its definition.
void Stage::startEditText(DisplayObject& object)
{
    object.editText.reset();
    const auto* edit = std::get_if<std::shared_ptr<const EditTextDef>>(&object.character);
    if (edit && *edit && m_editTextMaker)
        object.editText = m_editTextMaker(sharedMovieOf(object), *edit);
}

void Stage::setEditTextMaker(EditTextMaker maker)
{
    m_editTextMaker = std::move(maker);
    auto visit = [&](auto& self, DisplayObject& object, uint32_t nesting) -> void {
        if (nesting > kMaxNesting + 2)
            return;
        if (!object.editText)
            startEditText(object);
        forEachChild(object, [&](DisplayObject& child) { self(self, child, nesting + 1); });
    };
    visit(visit, *m_root, 0);
}

void Stage::startClip(DisplayObject& object, uint32_t nesting)
{
    object.clip = std::make_unique<ClipState>();
    object.clip->def = std::get<std::shared_ptr<const SpriteDef>>(object.character);
    object.clip->timeline = &object.clip->def->timeline;
    object.clip->children = std::make_unique<DisplayList>();
    if (nesting > kMaxNesting) {
        object.clip->playing = false; // an inert instance: drawn empty, never advanced
        return;
    }
    object.constructPending = true;
    if (object.clip->frameCount() > 0)
        enterFrame(object, 0);
}

void Stage::startButton(DisplayObject& object, uint32_t nesting)
{
    const auto& button = std::get<std::shared_ptr<const ButtonDef>>(object.character);
    // A button that shows itself, however many times, stops at the nesting bound;
    // past it the button stays empty and is drawn from its definition.
    object.buttonChildren = std::make_unique<DisplayList>();
    if (!button || nesting + 1 > kMaxNesting)
        return;
    auto shown = buildButtonState(movieOf(object), *button, object.buttonState);
    if (!hasRoom(shown->objects().size()))
        return;
    object.buttonChildren = std::move(shown);
    // All of them count against the bound before any of them fills it with what it shows.
    for (auto& [depth, record] : object.buttonChildren->objects())
        m_registry.enroll(*record);
    for (auto& [depth, record] : object.buttonChildren->objects())
        bringToLife(*record, object);
}

void Stage::setButtonState(DisplayObject& button, uint8_t state)
{
    if (button.buttonState == state || !std::holds_alternative<std::shared_ptr<const ButtonDef>>(button.character))
        return;
    button.buttonState = state;
    // The records of the state left go as removed objects do; those of the new state are placed anew.
    if (button.buttonChildren) {
        for (auto& [depth, record] : button.buttonChildren->objects())
            retire(std::move(record));
    }
    startButton(button, nestingOf(button));
    collectPending(button, nestingOf(button));
}

void Stage::retire(std::unique_ptr<DisplayObject> object)
{
    if (!object)
        return;
    markRemoved(*object);
    object->parent = nullptr;
    // Past this bound removed objects go at once, without their unload handlers.
    if (m_removed.size() < kMaxLiveObjects)
        m_removed.push_back(std::move(object));
}

DisplayObject* Stage::insert(DisplayObject& parent, std::unique_ptr<DisplayObject> object)
{
    DisplayList* children = parent.clip ? parent.clip->children.get() : nullptr;
    if (!children || parent.removed || nestingOf(parent) >= kMaxNesting || !hasRoom(1))
        return nullptr;
    auto& slot = children->objects()[object->depth];
    retire(std::move(slot));
    slot = std::move(object);
    DisplayObject& placed = *slot;
    bringToLife(placed, parent);
    collectPending(placed, nestingOf(placed));
    return &placed;
}

DisplayObject* Stage::attachSurface(DisplayObject& clip, Depth depth, std::shared_ptr<const BitmapSurface> surface,
                                    bool smoothing, PixelSnapping snapping)
{
    if (!surface)
        return nullptr;
    auto object = std::make_unique<DisplayObject>();
    object->depth = depth;
    object->character = std::shared_ptr<const BitmapDef>(); // shows no definition: its surface instead
    object->surface = std::move(surface);
    object->surfaceSmoothing = smoothing;
    object->surfaceSnapping = snapping;
    object->origin = Origin::Script;
    return insert(clip, std::move(object));
}

DisplayObject* Stage::attach(DisplayObject& parent, uint16_t characterId, Depth depth, const std::string& name)
{
    auto character = placeableCharacter(movieOf(parent), characterId);
    if (!character)
        return nullptr;
    auto object = std::make_unique<DisplayObject>();
    object->depth = depth;
    object->characterId = characterId;
    object->character = std::move(*character);
    object->name = name;
    object->origin = Origin::Script;
    return insert(parent, std::move(object));
}

DisplayObject* Stage::createEmptyClip(DisplayObject& parent, Depth depth, const std::string& name)
{
    auto object = std::make_unique<DisplayObject>();
    object->depth = depth;
    object->character = m_emptySprite;
    object->name = name;
    object->origin = Origin::Script;
    return insert(parent, std::move(object));
}

DisplayObject* Stage::createTextField(DisplayObject& parent, Depth depth, const std::string& name,
                                      std::shared_ptr<const EditTextDef> def)
{
    if (!def)
        return nullptr;
    auto object = std::make_unique<DisplayObject>();
    object->depth = depth;
    object->characterId = def->id;
    object->character = std::move(def);
    object->name = name;
    object->origin = Origin::Script;
    return insert(parent, std::move(object));
}

DisplayObject* Stage::duplicate(DisplayObject& original, Depth depth, const std::string& name)
{
    if (!original.parent || original.removed)
        return nullptr;
    auto object = std::make_unique<DisplayObject>();
    object->depth = depth;
    object->characterId = original.characterId;
    object->character = original.character;
    object->matrix = original.matrix;
    object->colorTransform = original.colorTransform;
    object->ratio = original.ratio;
    object->blendMode = original.blendMode;
    object->filters = original.filters;
    object->cacheAsBitmap = original.cacheAsBitmap;
    object->visible = original.visible;
    object->clipActions = original.clipActions;
    object->drawing = original.drawing;
    if (original.drawingBuilder)
        object->drawingBuilder = std::make_unique<Drawing>(*original.drawingBuilder);
    object->name = name;
    object->origin = Origin::Script;
    object->scriptLocks = original.scriptLocks;
    return insert(*original.parent, std::move(object));
}

void Stage::remove(DisplayObject& object)
{
    DisplayObject* parent = object.parent;
    DisplayList* siblings = parent ? liveChildren(*parent) : nullptr;
    if (!siblings || object.removed)
        return;
    auto it = siblings->objects().find(object.depth);
    if (it == siblings->objects().end() || it->second.get() != &object)
        return;
    std::unique_ptr<DisplayObject> gone = std::move(it->second);
    siblings->objects().erase(it);
    retire(std::move(gone));
}

bool Stage::swapDepths(DisplayObject& object, Depth depth)
{
    DisplayList* siblings = object.parent ? liveChildren(*object.parent) : nullptr;
    if (!siblings || object.removed)
        return false;
    auto& objects = siblings->objects();
    auto mine = objects.find(object.depth);
    if (mine == objects.end() || mine->second.get() != &object)
        return false;
    if (depth == object.depth)
        return true;
    std::unique_ptr<DisplayObject> moving = std::move(mine->second);
    objects.erase(mine);
    // Once a script has moved an object, the timeline no longer manages it.
    moving->origin = Origin::Script;
    auto& target = objects[depth];
    if (target) {
        target->depth = moving->depth;
        target->origin = Origin::Script;
        objects[moving->depth] = std::move(target);
    }
    moving->depth = depth;
    objects[depth] = std::move(moving);
    return true;
}

// ---- Work for scripts ----

void Stage::collectPending(DisplayObject& object, uint32_t nesting)
{
    if (nesting > kMaxNesting + 2)
        return;
    if (object.constructPending) {
        object.constructPending = false;
        m_constructWork.push_back(handleOf(object));
    }
    if (object.clip && object.clip->actionsPending) {
        object.clip->actionsPending = false;
        const Timeline& timeline = timelineOf(object);
        if (object.clip->currentFrame < timeline.frames.size()) {
            for (const ControlTag& tag : timeline.frames[object.clip->currentFrame].tags) {
                const auto* action = std::get_if<DoAction>(&tag);
                if (action && !action->initSpriteId)
                    m_frameWork.push_back({handleOf(object), action});
            }
        }
    }
    forEachChild(object, [&](DisplayObject& child) { collectPending(child, nesting + 1); });
}

bool Stage::hasPendingWork() const
{
    return !m_initWork.empty() || !m_constructWork.empty() || !m_frameWork.empty();
}

void Stage::runPendingWork(StageScripts& scripts)
{
    for (uint32_t handedOut = 0; handedOut < kMaxWorkPerTick; ++handedOut) {
        if (!m_initWork.empty()) {
            const QueuedAction work = m_initWork.front();
            m_initWork.pop_front();
            if (DisplayObject* owner = find(work.target))
                scripts.runInitActions(*this, *owner, *work.action);
        } else if (!m_constructWork.empty()) {
            const ObjectHandle work = m_constructWork.front();
            m_constructWork.pop_front();
            if (DisplayObject* clip = find(work))
                scripts.constructClip(*this, *clip);
        } else if (!m_frameWork.empty()) {
            const QueuedAction work = m_frameWork.front();
            m_frameWork.pop_front();
            if (DisplayObject* clip = find(work.target))
                scripts.runFrameActions(*this, *clip, *work.action);
        } else {
            return;
        }
    }
    // A movie that keeps queueing work drops the rest of this tick's.
    m_initWork.clear();
    m_constructWork.clear();
    m_frameWork.clear();
}

std::vector<ObjectHandle> Stage::objectsInOrder(ObjectKind kind)
{
    std::vector<ObjectHandle> found;
    auto gather = [&](auto& self, DisplayObject& object, uint32_t nesting) -> void {
        if (nesting > kMaxNesting + 2)
            return;
        const bool isButton = std::holds_alternative<std::shared_ptr<const ButtonDef>>(object.character);
        if (kind == ObjectKind::Clips ? object.clip != nullptr : isButton)
            found.push_back(handleOf(object));
        forEachChild(object, [&](DisplayObject& child) { self(self, child, nesting + 1); });
    };
    gather(gather, *m_root, 0);
    for (auto& [number, root] : m_levels)
        gather(gather, *root, 0);
    return found;
}

void Stage::dispatchEnterFrame(StageScripts& scripts)
{
    for (ObjectHandle handle : objectsInOrder(ObjectKind::Clips)) {
        if (DisplayObject* clip = find(handle))
            scripts.clipEvent(*this, *clip, ClipEvent::EnterFrame);
    }
}

void Stage::finishRemovals(StageScripts& scripts)
{
    // Unload handlers may remove more; a few rounds settle any sane movie.
    for (int round = 0; round < 8 && !m_removed.empty(); ++round) {
        std::vector<std::unique_ptr<DisplayObject>> leaving = std::move(m_removed);
        m_removed.clear();
        auto unload = [&](auto& self, DisplayObject& object, uint32_t nesting) -> void {
            if (nesting > kMaxNesting + 2)
                return;
            if (object.clip)
                scripts.clipEvent(*this, object, ClipEvent::Unload);
            forEachChild(object, [&](DisplayObject& child) { self(self, child, nesting + 1); });
        };
        for (auto& object : leaving)
            unload(unload, *object, 0);
    }
    m_removed.clear();
}

} // namespace flash
