// Times the interpreter on fixed scripts and prints the figures: simple
// actions per second, prototype-chain reads per second, and the collection
// pause with 100,000 live objects.
#include "flash/script/HostObject.h"
#include "flash/script/Interpreter.h"

#include "AsCompiler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace flash::script;

namespace {

class QuietHost : public ScriptHost {
public:
    Object* resolveTarget(Object*, std::string_view) override { return root; }
    Object* level(int) override { return root; }
    Object* parentOf(Object&) override { return nullptr; }
    bool isClip(const Object& o) const override { return &o == root; }
    std::string targetPath(Object&, PathStyle) override { return "_level0"; }
    Value getProperty(Object*, int) override { return Value(); }
    void setProperty(Object*, int, const Value&) override { }
    void gotoFrame(Object&, uint32_t, GotoPlay) override { }
    bool gotoLabel(Object&, std::string_view, GotoPlay) override { return false; }
    void play(Object&) override { }
    void stop(Object&) override { }
    void nextFrame(Object&) override { }
    void prevFrame(Object&) override { }
    FrameCounts frames(Object&) override { return { 1, 1 }; }
    std::optional<uint32_t> frameOfLabel(Object&, std::string_view) override { return std::nullopt; }
    void callFrame(Object&, uint32_t) override { }
    void cloneSprite(Object&, std::string_view, int) override { }
    void removeSprite(Object&) override { }
    void startDrag(Object&, DragCenter, std::optional<DragBounds>) override { }
    void endDrag() override { }
    void getUrl(const UrlRequest&) override { }
    void toggleQuality() override { }
    void stopSounds() override { }
    void trace(std::string_view line) override { lastTrace = line; }
    double timeMs() override { return 0; }
    uint32_t random(uint32_t) override { return 0; }
    void report(std::string_view line) override { std::printf("report: %.*s\n", int(line.size()), line.data()); }
    bool registerClass(std::string_view, Object*) override { return true; }

    Object* root = nullptr;
    std::string lastTrace;
};

struct Timed {
    double seconds;
    uint64_t actions;
};

Timed runTimed(Interpreter& vm, QuietHost& host, const std::string& source, bool registers)
{
    auto bytes = std::make_shared<const std::vector<uint8_t>>(swfw::compileActionScript(source, { 8, registers }));
    const uint64_t before = vm.actionCount();
    const auto start = std::chrono::steady_clock::now();
    (void)vm.run(ActionBlock { *bytes, bytes, 8 }, host.root);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return { seconds, vm.actionCount() - before };
}

} // namespace

int main()
{
    QuietHost host;
    Interpreter vm(host);
    vm.setTimeLimit(std::chrono::minutes(5));
    host.root = vm.heap().make<Object>(vm.prototypes().object);
    vm.heap().addRoot(host.root);

    const std::string loop = R"(
        function loop(n) { var s = 0; for (var i = 0; i < n; i++) { s = s + i; } return s; }
        trace(loop(10000000));
    )";
    const Timed reg = runTimed(vm, host, loop, true);
    std::printf("register loop:   %6.1f M actions/s (%llu actions in %.3f s)\n", reg.actions / reg.seconds / 1e6,
                static_cast<unsigned long long>(reg.actions), reg.seconds);
    const Timed local = runTimed(vm, host, loop, false);
    std::printf("local-var loop:  %6.1f M actions/s (%llu actions in %.3f s)\n", local.actions / local.seconds / 1e6,
                static_cast<unsigned long long>(local.actions), local.seconds);

    const int reads = 5'000'000;
    const Timed proto = runTimed(vm, host, R"(
        function A() {} A.prototype.x = 1;
        function B() {} B.prototype = new A();
        function C() {} C.prototype = new B();
        function readAll(o, n) { var s = 0; for (var i = 0; i < n; i++) { s += o.x; } return s; }
        trace(readAll(new C(), )" + std::to_string(reads) + "));", true);
    std::printf("prototype reads: %6.1f M reads/s through a chain of depth 3 (%.3f s)\n", reads / proto.seconds / 1e6,
                proto.seconds);

    (void)runTimed(vm, host, R"(
        var live = [];
        for (var i = 0; i < 100000; i++) { live.push({index: i}); }
    )", true);
    // The median of a few pauses, since the machine may be busy with other work.
    std::vector<uint64_t> pauses;
    for (int i = 0; i < 7; ++i) {
        vm.collect();
        pauses.push_back(vm.heap().lastPauseMicros());
    }
    std::sort(pauses.begin(), pauses.end());
    std::printf("collection:      %6.2f ms median pause with %zu live objects (fastest %.2f ms)\n",
                pauses[pauses.size() / 2] / 1000.0, vm.heap().objectCount(), pauses.front() / 1000.0);
    return host.lastTrace.empty() ? 1 : 0;
}
