// A fixture for the library classes: an interpreter on a host with no stage,
// and short ways to reach globals, call methods and read results as text.
#pragma once

#include "flash/script/ArrayObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/ScriptHost.h"

#include "AsCompiler.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace flash::script {

// Answers every stage question with "nothing there"; keeps trace and fault lines.
class LibraryHost : public ScriptHost {
public:
    Object* resolveTarget(Object*, std::string_view) override { return nullptr; }
    Object* level(int) override { return nullptr; }
    Object* parentOf(Object&) override { return nullptr; }
    bool isClip(const Object&) const override { return false; }
    std::string targetPath(Object&, PathStyle) override { return {}; }
    Value getProperty(Object*, int) override { return {}; }
    void setProperty(Object*, int, const Value&) override { }
    void gotoFrame(Object&, uint32_t, GotoPlay) override { }
    bool gotoLabel(Object&, std::string_view, GotoPlay) override { return false; }
    void play(Object&) override { }
    void stop(Object&) override { }
    void nextFrame(Object&) override { }
    void prevFrame(Object&) override { }
    FrameCounts frames(Object&) override { return {}; }
    std::optional<uint32_t> frameOfLabel(Object&, std::string_view) override { return std::nullopt; }
    void callFrame(Object&, uint32_t) override { }
    void cloneSprite(Object&, std::string_view, int) override { }
    void removeSprite(Object&) override { }
    void startDrag(Object&, DragCenter, std::optional<DragBounds>) override { }
    void endDrag() override { }
    void getUrl(const UrlRequest&) override { }
    void toggleQuality() override { }
    void stopSounds() override { }
    void trace(std::string_view line) override { traces.emplace_back(line); }
    double timeMs() override { return 0; }
    uint32_t random(uint32_t bound) override { return m_seed = (m_seed * 1103515245u + 12345u), (m_seed >> 8) % bound; }
    void report(std::string_view line) override { reports.emplace_back(line); }
    bool registerClass(std::string_view, Object*) override { return false; }

    std::vector<std::string> traces;
    std::vector<std::string> reports;

private:
    uint32_t m_seed = 1;
};

class LibraryTest : public ::testing::Test {
protected:
    // A dotted path from _global: "Math", "flash.geom.Point".
    Value global(std::string_view path)
    {
        Value at(vm.global());
        while (!path.empty()) {
            const size_t dot = path.find('.');
            at = vm.getMember(at, String(path.substr(0, dot)));
            path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
        }
        return at;
    }

    // object.method(args) through the host entry point; undefined (and a failure) if it stopped.
    Value call(const Value& object, std::string_view method, std::initializer_list<Value> args = {})
    {
        const std::vector<Value> list(args);
        std::optional<Value> result = vm.callMethod(object, method, list);
        EXPECT_TRUE(result.has_value()) << "calling " << method;
        return result.value_or(Value());
    }

    Value make(std::string_view constructor, std::initializer_list<Value> args = {})
    {
        const std::vector<Value> list(args);
        return vm.construct(global(constructor), list);
    }

    Value array(std::initializer_list<Value> values)
    {
        ArrayObject* a = vm.newArray();
        for (const Value& v : values)
            a->push(v);
        return Value(static_cast<Object*>(a));
    }

    Value get(const Value& object, std::string_view name) { return vm.getMember(object, String(name)); }
    void set(const Value& object, std::string_view name, const Value& value) { vm.setMember(object, String(name), value); }

    // Compiles and runs `source` as a frame's actions; the trace lines, one per line.
    std::string run(std::string_view source, int version = 8)
    {
        host.traces.clear();
        auto bytes = std::make_shared<const std::vector<uint8_t>>(swfw::compileActionScript(source, { .swfVersion = version }));
        status = vm.run(ActionBlock { *bytes, bytes, version }, nullptr);
        std::string out;
        for (const std::string& line : host.traces)
            out += (out.empty() ? "" : "\n") + line;
        return out;
    }

    // How a trace would print the value.
    std::string text(const Value& v) { return vm.toString(v).toStd(); }

    LibraryHost host;
    Interpreter vm { host };
    RunStatus status = RunStatus::Completed;
};

} // namespace flash::script
