// The interpreter's host on the live stage: clips appear to scripts as
// host-backed objects, one per display object, made on first use and kept
// alive while the object is on stage; target paths, properties, timelines and
// script-made clips go to the stage.
#pragma once

#include "flash/script/ScriptHost.h"
#include "flash/scripting/InputState.h"
#include "flash/stage/ClipProperties.h"
#include "flash/model/BitmapSurface.h"
#include "flash/stage/Stage.h"

#include <functional>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

class FocusScripts;
class SoundScripts;
class NetStreamScripts;
class MovieLoads;

// Where trace lines and reports about script faults go.
struct ScriptOutput {
    std::function<void(std::string_view)> trace;
    std::function<void(std::string_view)> report;
};

class StageHost final : public script::ScriptHost {
public:
    // `clock` gives milliseconds since the movie started.
    StageHost(Stage& stage, ScriptOutput output, std::function<double()> clock);
    ~StageHost() override;
    StageHost(const StageHost&) = delete;
    StageHost& operator=(const StageHost&) = delete;

    // Connects the interpreter, once it exists (it needs this host to be made).
    void attach(script::Interpreter& vm);
    // Lets go of the interpreter before it is destroyed.
    void detach();
    [[nodiscard]] script::Interpreter& vm() const { return *m_vm; }
    [[nodiscard]] Stage& stage() const { return m_stage; }
    [[nodiscard]] NameCase nameCase() const { return m_nameCase; }
    [[nodiscard]] int swfVersion() const { return m_stage.movie().header.version; }

    // The script object of `object`, made on first use.
    [[nodiscard]] script::Object* objectFor(DisplayObject& object);
    // The same, or null when no script has reached the object yet (then the prototype it would get).
    [[nodiscard]] script::Object* existingObjectFor(const DisplayObject& object) const;
    [[nodiscard]] script::Object* prototypeFor(const DisplayObject& object) const;
    // The display object a clip's script object stands for, while it is on stage
    // (or the clip now at its path, once it is gone); null for other objects.
    [[nodiscard]] DisplayObject* displayObjectOf(const script::Object* object) const;
    [[nodiscard]] DisplayObject* displayObjectOf(const script::Value& value) const;
    // Makes a new clip an instance of the class registered for its symbol and runs
    // the constructor on it, once; clips without a class are left as they are.
    void constructNow(DisplayObject& clip);
    // The constructor registered for a symbol; null when none.
    [[nodiscard]] script::Object* classFor(const DisplayObject& clip) const;
    // The clip whose actions run now (set by the runtime around each block), whose movie registerClass looks in.
    void setRunningClip(ObjectHandle clip) { m_runningClip = clip; }
    [[nodiscard]] ObjectHandle runningClip() const { return m_runningClip; }
    // The prototypes clips and buttons are made with (set by their classes).
    void setPrototypes(script::Object* clip, script::Object* button);
    // The prototype text fields are made with (set by TextField).
    void setFieldPrototype(script::Object* field) { m_fieldPrototype = field; }
    // The prototype Video objects are made with (set by Video).
    void setVideoPrototype(script::Object* video) { m_videoPrototype = video; }

    // The stage's levels, for following paths.
    [[nodiscard]] LevelRoots levelRoots() const;

    // ScriptHost
    [[nodiscard]] script::Object* resolveTarget(script::Object* from, std::string_view path) override;
    [[nodiscard]] script::Object* level(int n) override;
    [[nodiscard]] script::Object* parentOf(script::Object& clip) override;
    [[nodiscard]] bool isClip(const script::Object& object) const override;
    [[nodiscard]] std::string targetPath(script::Object& clip, script::PathStyle style) override;
    [[nodiscard]] script::Value getProperty(script::Object* clip, int index) override;
    void setProperty(script::Object* clip, int index, const script::Value& value) override;
    void gotoFrame(script::Object& clip, uint32_t frame, script::GotoPlay play) override;
    bool gotoLabel(script::Object& clip, std::string_view label, script::GotoPlay play) override;
    void play(script::Object& clip) override;
    void stop(script::Object& clip) override;
    void nextFrame(script::Object& clip) override;
    void prevFrame(script::Object& clip) override;
    [[nodiscard]] script::FrameCounts frames(script::Object& clip) override;
    [[nodiscard]] std::optional<uint32_t> frameOfLabel(script::Object& clip, std::string_view label) override;
    void callFrame(script::Object& clip, uint32_t frame) override;
    void cloneSprite(script::Object& source, std::string_view name, int depth) override;
    void removeSprite(script::Object& clip) override;
    void startDrag(script::Object& clip, script::DragCenter center, std::optional<script::DragBounds> bounds) override;
    void endDrag() override;
    void getUrl(const script::UrlRequest& request) override;
    void toggleQuality() override;
    void stopSounds() override;
    [[nodiscard]] std::optional<std::string> readLocalFile(std::string_view url) override;
    void trace(std::string_view line) override;
    [[nodiscard]] double timeMs() override { return m_clock ? m_clock() : 0; }
    [[nodiscard]] uint32_t random(uint32_t bound) override;
    void report(std::string_view line) override;
    bool registerClass(std::string_view linkage, script::Object* constructor) override;

    // Reading and writing one property, converting the value as the property wants it.
    [[nodiscard]] script::Value readProperty(DisplayObject& object, ClipProperty property);
    void writeProperty(DisplayObject& object, ClipProperty property, const script::Value& value);
    // Removes a clip a script made (script depths only, as removeMovieClip does).
    void removeScriptClip(DisplayObject& object);
    // The character exported under `linkage` by the movie `from` comes from (the main movie without one).
    [[nodiscard]] std::optional<uint16_t> exportedCharacter(std::string_view linkage,
                                                            const DisplayObject* from = nullptr) const;

    // A dragged clip follows the pointer (moved by the input scripts).
    struct Drag {
        ObjectHandle clip;
        script::DragCenter center = script::DragCenter::AsGrabbed;
        std::optional<script::DragBounds> bounds;
        Point grabOffset; // the clip's position less the pointer's, in its parent's twips
    };
    [[nodiscard]] const std::optional<Drag>& drag() const { return m_drag; }

    // Keys held and the pointer's visibility, as Key and Mouse read them.
    [[nodiscard]] InputState& input() { return m_input; }
    // What Sound objects share (set by the runtime that owns it).
    [[nodiscard]] SoundScripts* soundScripts() const { return m_soundScripts; }
    void setSoundScripts(SoundScripts* sounds) { m_soundScripts = sounds; }
    // The movie's NetStreams (set by the runtime that owns them).
    [[nodiscard]] NetStreamScripts* netStreams() const { return m_netStreams; }
    void setNetStreams(NetStreamScripts* streams) { m_netStreams = streams; }
    // Movies and variables the scripts load (set by the runtime that owns them).
    [[nodiscard]] MovieLoads* movieLoads() const { return m_movieLoads; }
    void setMovieLoads(MovieLoads* loads) { m_movieLoads = loads; }
    // Opens a web or mail address with the desktop's handler (none: nothing opens).
    using UrlOpener = std::function<void(const std::string& url)>;
    void setUrlOpener(UrlOpener opener) { m_urlOpener = std::move(opener); }
    // While a user's click or key is handled: only then may a movie open an address.
    void setHandlingUserInput(bool handling) { m_handlingUserInput = handling; }
    // The keyboard focus, as Selection reaches it (set by the runtime that owns it).
    [[nodiscard]] FocusScripts* focusScripts() const { return m_focusScripts; }
    void setFocusScripts(FocusScripts* focus) { m_focusScripts = focus; }

    // Draws `source` (with its children, as the stage shows it, ignoring its own
    // place on stage) into `target`: `matrix` takes the source's twips to the
    // target's pixels; `clip` (target pixels) limits it when given. Given by
    // whoever draws the stage (BitmapData.draw); without it nothing is drawn.
    using SurfaceDrawer = std::function<void(BitmapSurface& target, const DisplayObject& source, const Matrix& matrix,
                                             const ColorTransform& transform, BlendMode blend,
                                             const std::optional<Rect>& clip, bool smoothing)>;
    void setSurfaceDrawer(SurfaceDrawer drawer) { m_surfaceDrawer = std::move(drawer); }
    [[nodiscard]] const SurfaceDrawer& surfaceDrawer() const { return m_surfaceDrawer; }
    // The decoded pixels of bitmap `id` of `movie` (BitmapData.loadBitmap); null when it has none.
    using BitmapReader = std::function<std::shared_ptr<BitmapSurface>(const Movie& movie, uint16_t id)>;
    void setBitmapReader(BitmapReader reader) { m_bitmapReader = std::move(reader); }
    [[nodiscard]] const BitmapReader& bitmapReader() const { return m_bitmapReader; }

    // Whether a stage point (twips) falls on what an object draws, shape by shape;
    // given by whoever draws the stage. Without it, objects answer by their bounds.
    using ShapeHitTest = std::function<bool(const DisplayObject&, Point)>;
    void setShapeHitTest(ShapeHitTest test) { m_shapeHitTest = std::move(test); }
    [[nodiscard]] const ShapeHitTest& shapeHitTest() const { return m_shapeHitTest; }

    // The drawing of a clip, for the drawing API; what is drawn shows once published.
    [[nodiscard]] Drawing& drawingOf(DisplayObject& clip);
    // Hands every drawing changed since the last call to the renderer.
    void publishDrawings();

private:
    [[nodiscard]] DisplayObject* clipOf(script::Object& object) const;

    Stage& m_stage;
    ScriptOutput m_output;
    std::function<double()> m_clock;
    script::Interpreter* m_vm = nullptr;
    NameCase m_nameCase;
    std::unordered_map<uint64_t, script::Object*> m_objects; // by display object identity
    std::map<std::pair<const Movie*, uint16_t>, script::Object*> m_classes; // registered classes by movie and character
    ObjectHandle m_runningClip;
    std::unordered_set<uint64_t> m_constructed;              // clips whose class constructor has run
    script::Object* m_clipPrototype = nullptr;
    script::Object* m_buttonPrototype = nullptr;
    script::Object* m_fieldPrototype = nullptr;
    script::Object* m_videoPrototype = nullptr;
    std::optional<Drag> m_drag;
    InputState m_input;
    FocusScripts* m_focusScripts = nullptr;
    SoundScripts* m_soundScripts = nullptr;
    NetStreamScripts* m_netStreams = nullptr;
    MovieLoads* m_movieLoads = nullptr;
    UrlOpener m_urlOpener;
    bool m_handlingUserInput = false;
    ShapeHitTest m_shapeHitTest;
    SurfaceDrawer m_surfaceDrawer;
    BitmapReader m_bitmapReader;
    std::unordered_set<uint64_t> m_drawn; // clips whose drawing changed since it was last published
    std::mt19937 m_random;
    uint32_t m_rootSource = 0;
    uint32_t m_reportsLeft = 1000;
};

} // namespace flash
