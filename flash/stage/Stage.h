// The live stage of one movie: the main timeline as the root clip, every
// display object with its identity, the playheads, and the work their frames
// queue for scripts.
//
// One tick, in order (see Player::tick): advance() moves every playhead and
// applies the display tags; runPendingWork() hands the queued work to the
// scripts (init actions, then the construction of new clips, then frame
// actions, again and again as scripts queue more); dispatchEnterFrame();
// finishRemovals(). Work is queued by handle, so a script that removes a clip
// or its own parent while work is pending leaves nothing dangling.
#pragma once

#include "flash/stage/DisplayList.h"
#include "flash/stage/StageLayout.h"
#include "flash/stage/ObjectRegistry.h"
#include "flash/stage/StageScripts.h"

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace flash {

enum class Looping : uint8_t { Off, On };

// Settings of the player that scripts read and write through any clip.
struct PlayerSettingsSeen {
    std::string quality = "HIGH";
    int highQuality = 1;
    bool focusRect = true;
    double soundBufferSeconds = 5;
    StageLayout layout;
    // The view the stage is shown in, in pixels (Stage.width and height under noScale).
    double viewWidth = 0, viewHeight = 0;
};

class Stage {
public:
    // Bounds a hostile movie cannot talk its way past.
    static constexpr uint32_t kMaxNesting = 32;           // clips inside clips that still play
    static constexpr uint32_t kMaxLiveObjects = 50'000;   // display objects on stage at once
    static constexpr uint32_t kMaxWorkPerTick = 200'000;  // queued pieces of work handed out in one tick
    static constexpr uint32_t kMaxGotoFrames = 1 << 20;   // frames a single forward goto applies

    // Shows the first frame of `movie` (its display tags applied); nothing is run
    // until the first runPendingWork(). A null movie is an empty one.
    explicit Stage(std::shared_ptr<const Movie> movie);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // The main movie (level 0's).
    [[nodiscard]] const Movie& movie() const { return *m_movie; }
    [[nodiscard]] const std::shared_ptr<const Movie>& sharedMovie() const { return m_movie; }
    // The movie `object` comes from: its dictionary, exports and version.
    [[nodiscard]] const Movie& movieOf(const DisplayObject& object) const { return *sharedMovieOf(object); }
    [[nodiscard]] const std::shared_ptr<const Movie>& sharedMovieOf(const DisplayObject& object) const;
    // The root of the movie `object` comes from (itself for a movie's root).
    [[nodiscard]] const DisplayObject& movieRootOf(const DisplayObject& object) const;
    [[nodiscard]] DisplayObject& root() { return *m_root; }
    [[nodiscard]] const DisplayObject& root() const { return *m_root; }
    [[nodiscard]] const DisplayList& displayList() const { return *m_root->clip->children; }
    [[nodiscard]] ObjectRegistry& registry() { return m_registry; }
    void setLooping(Looping looping) { m_looping = looping; }

    // Where the movie came from, as _url gives it, and the folder it may read
    // files from (empty for a movie from memory, which may read none).
    [[nodiscard]] const std::string& url() const { return m_url; }
    // _url of the movie `object` comes from.
    [[nodiscard]] const std::string& urlOf(const DisplayObject& object) const;
    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }
    void setOrigin(std::string url, std::filesystem::path folder)
    {
        m_url = std::move(url);
        m_folder = std::move(folder);
    }
    // The pointer on the stage, in twips (moved by the input stage).
    [[nodiscard]] Point mousePosition() const { return m_mouse; }
    void setMousePosition(Point position) { m_mouse = position; }
    // Counts renames by scripts, so that paths remembered elsewhere know when to look again.
    [[nodiscard]] uint64_t renames() const { return m_renames; }
    void noteRename() { ++m_renames; }
    [[nodiscard]] PlayerSettingsSeen& playerSettings() { return m_playerSettings; }
    [[nodiscard]] const PlayerSettingsSeen& playerSettings() const { return m_playerSettings; }

    // The object behind `handle` while it is on stage; null once it is removed.
    [[nodiscard]] DisplayObject* find(ObjectHandle handle) const;

    // Levels: _level0 is the main movie's root; loaded movies stand above it at
    // their own numbers. The roots of every level, the lowest first.
    [[nodiscard]] DisplayObject* level(int number) const;
    [[nodiscard]] std::vector<const DisplayObject*> levels() const;
    [[nodiscard]] std::vector<DisplayObject*> levelRoots();
    // The level number of a level's root; nothing for any other object.
    [[nodiscard]] std::optional<int> levelNumberOf(const DisplayObject& object) const;
    // Shows `movie` at level `number` (0 replaces the main movie's content), from its first frame.
    void loadLevel(int number, std::shared_ptr<const Movie> movie, std::string url = {});
    void unloadLevel(int number);
    // attachBitmap: an object at `depth` of `clip` showing `surface` (replacing
    // what stood there); null when the clip cannot take it.
    DisplayObject* attachSurface(DisplayObject& clip, Depth depth, std::shared_ptr<const BitmapSurface> surface,
                                 bool smoothing, PixelSnapping snapping = PixelSnapping::Auto);
    // Shows `movie` in `clip` instead of what it showed: the clip keeps its
    // place, name and properties; its timeline becomes the movie's. A null
    // movie empties it (unloadMovie).
    void loadInto(DisplayObject& clip, std::shared_ptr<const Movie> movie, std::string url = {});

    // One frame of playing: every clip on stage advances (its children first),
    // applying its display tags; new clips and the frames entered queue their work.
    void advance();
    // Hands queued work to `scripts` until none is left or the tick's bound is reached.
    void runPendingWork(StageScripts& scripts);
    // enterFrame to every clip on stage, parents before children.
    void dispatchEnterFrame(StageScripts& scripts);
    // Every clip, or every button, on stage, parents before children; by handle,
    // since scripts run between visits may change the tree.
    enum class ObjectKind : uint8_t { Clips, Buttons };
    [[nodiscard]] std::vector<ObjectHandle> objectsInOrder(ObjectKind kind);
    // Unload handlers of the clips removed since the last call; then they are gone.
    void finishRemovals(StageScripts& scripts);
    [[nodiscard]] bool hasPendingWork() const;

    // Playheads. Frames are 0-based; a frame past the end shows the last one.
    void gotoFrame(DisplayObject& clip, uint32_t frame);
    // False, changing nothing, when no frame of the clip carries `label`.
    bool gotoLabel(DisplayObject& clip, const std::string& label);
    static void play(DisplayObject& clip);
    static void stop(DisplayObject& clip);

    // Sounds the frames entered since the last call start: their StartSound tags,
    // and their stream blocks (`start` null), in the order the frames were entered.
    struct SoundCue {
        ObjectHandle clip;
        const StartSound* start = nullptr;
        uint32_t frame = 0;
    };
    [[nodiscard]] std::vector<SoundCue> takeSoundCues() { return std::exchange(m_soundCues, {}); }

    // Shows a button's up, over or down state (ButtonRecord::Up, Over, Down).
    void setButtonState(DisplayObject& button, uint8_t state);

    // Script-made objects. Depths here are the stored ones (see kScriptDepthBase).
    // Puts a new instance of `characterId` into `parent` at `depth`, replacing what is there.
    DisplayObject* attach(DisplayObject& parent, uint16_t characterId, Depth depth, const std::string& name);
    DisplayObject* createEmptyClip(DisplayObject& parent, Depth depth, const std::string& name);
    // A text field made by a script (createTextField), defined by `def`.
    DisplayObject* createTextField(DisplayObject& parent, Depth depth, const std::string& name,
                                   std::shared_ptr<const EditTextDef> def);
    // Text fields get their live state from `maker`: those on stage now and all placed later.
    void setEditTextMaker(EditTextMaker maker);
    // A copy of `original` beside it (same parent) at `depth`, started at its first frame.
    DisplayObject* duplicate(DisplayObject& original, Depth depth, const std::string& name);
    // Takes `object` off stage (its unload handlers run at the end of the tick).
    void remove(DisplayObject& object);
    // Moves `object` to `depth` in its parent, trading places with whatever is there.
    bool swapDepths(DisplayObject& object, Depth depth);

private:
    class Placements;
    friend class Placements;

    [[nodiscard]] const Timeline& timelineOf(const DisplayObject& clip) const;
    // Which main-timeline frame's definitions the tags of `clip` place (see TimelineApplier).
    [[nodiscard]] std::optional<uint32_t> mainFrameFor(const DisplayObject& clip) const;
    void advanceClip(DisplayObject& clip, uint32_t nesting);
    void stepForward(DisplayObject& clip);
    void enterFrame(DisplayObject& clip, uint32_t frame);
    void goForward(DisplayObject& clip, uint32_t target);
    void goBackward(DisplayObject& clip, uint32_t target);
    void queueInitActions(DisplayObject& clip, const Frame& frame);
    void queueSoundCues(DisplayObject& clip, const Frame& tags, uint32_t frame);
    // Gives a just-placed object what it needs to live: an identity, a timeline, a button's state.
    void bringToLife(DisplayObject& object, DisplayObject& parent);
    void startClip(DisplayObject& object, uint32_t nesting);
    void startButton(DisplayObject& object, uint32_t nesting);
    void startEditText(DisplayObject& object);
    void retire(std::unique_ptr<DisplayObject> object);
    DisplayObject* insert(DisplayObject& parent, std::unique_ptr<DisplayObject> object);
    // Moves the flags set below `object` into the work queues, in display order.
    void collectPending(DisplayObject& object, uint32_t nesting = 0);
    [[nodiscard]] uint32_t nestingOf(const DisplayObject& object) const;
    // Whether `objects` more fit under the bound on objects on stage (the root counts too).
    [[nodiscard]] bool hasRoom(size_t objects) const;

    struct QueuedAction {
        ObjectHandle target;
        const DoAction* action = nullptr;
    };

    std::shared_ptr<const Movie> m_movie;
    std::shared_ptr<const SpriteDef> m_emptySprite; // what createEmptyClip places
    ObjectRegistry m_registry; // declared before the objects, so it outlives them
    std::unique_ptr<DisplayObject> m_root;
    std::map<int, std::unique_ptr<DisplayObject>> m_levels; // above level 0, by number
    Looping m_looping = Looping::On;
    std::deque<QueuedAction> m_initWork;
    std::deque<ObjectHandle> m_constructWork;
    std::deque<QueuedAction> m_frameWork;
    std::set<std::pair<const Movie*, uint16_t>> m_initialized; // sprites whose init actions have run
    std::vector<std::unique_ptr<DisplayObject>> m_removed;
    std::string m_url;
    std::filesystem::path m_folder;
    Point m_mouse;
    uint64_t m_renames = 0;
    uint32_t m_unnamedInstances = 0;
    std::vector<SoundCue> m_soundCues;
    PlayerSettingsSeen m_playerSettings;
    EditTextMaker m_editTextMaker;
};

// The clip `object` belongs to (itself for a clip); null at the top.
[[nodiscard]] DisplayObject* owningClip(DisplayObject& object);

} // namespace flash
