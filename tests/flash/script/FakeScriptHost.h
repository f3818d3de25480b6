// A ScriptHost for the interpreter's tests: a tiny tree of named clips, and a
// record of traces, reports and the timeline calls scripts made.
#pragma once

#include "flash/script/HostObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/ScriptHost.h"

#include <memory>
#include <string>
#include <vector>

namespace flash::script::testing {

struct FakeClip {
    std::string name;
    FakeClip* parent = nullptr;
    std::vector<std::unique_ptr<FakeClip>> children;
    HostObject* object = nullptr;
    uint32_t loadedFrames = 1;
    uint32_t totalFrames = 1;
};

class FakeScriptHost : public ScriptHost {
public:
    FakeScriptHost() = default;
    // Makes the root's script object (rooted in the heap) once the interpreter exists.
    void attach(Interpreter& vm);
    FakeClip& addClip(FakeClip& parent, std::string name);
    [[nodiscard]] FakeClip& root() { return m_root; }
    [[nodiscard]] FakeClip* clipOf(const Object* object);

    // Everything traced, one entry per line, and joined by newlines.
    std::vector<std::string> traces;
    std::vector<std::string> reports;
    std::vector<std::string> calls; // "gotoFrame a 2 stop", "getUrl x y", ...
    double now = 0;
    [[nodiscard]] std::string output() const;

    Object* resolveTarget(Object* from, std::string_view path) override;
    Object* level(int n) override;
    Object* parentOf(Object& clip) override;
    bool isClip(const Object& object) const override;
    std::string targetPath(Object& clip, PathStyle style) override;
    Value getProperty(Object* clip, int index) override;
    void setProperty(Object* clip, int index, const Value& value) override;
    void gotoFrame(Object& clip, uint32_t frame, GotoPlay play) override;
    bool gotoLabel(Object& clip, std::string_view label, GotoPlay play) override;
    void play(Object& clip) override;
    void stop(Object& clip) override;
    void nextFrame(Object& clip) override;
    void prevFrame(Object& clip) override;
    FrameCounts frames(Object& clip) override;
    std::optional<uint32_t> frameOfLabel(Object& clip, std::string_view label) override;
    void callFrame(Object& clip, uint32_t frame) override;
    void cloneSprite(Object& source, std::string_view name, int depth) override;
    void removeSprite(Object& clip) override;
    void startDrag(Object& clip, DragCenter center, std::optional<DragBounds> bounds) override;
    void endDrag() override;
    void getUrl(const UrlRequest& request) override;
    void toggleQuality() override { calls.push_back("toggleQuality"); }
    void stopSounds() override { calls.push_back("stopSounds"); }
    void trace(std::string_view line) override { traces.emplace_back(line); }
    double timeMs() override { return now; }
    uint32_t random(uint32_t bound) override { return bound > 1 ? 1 : 0; }
    void report(std::string_view line) override { reports.emplace_back(line); }
    bool registerClass(std::string_view linkage, Object* constructor) override;

private:
    std::string nameOf(Object& clip);
    void makeObject(FakeClip& clip);

    Interpreter* m_vm = nullptr;
    FakeClip m_root { "_level0" };
    double m_props[22] = {};
};

} // namespace flash::script::testing
