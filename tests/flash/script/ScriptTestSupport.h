// Runs ActionScript source or assembled bytes in a fresh interpreter and hands back what it traced.
#pragma once

#include "FakeScriptHost.h"

#include "AsCompiler.h"
#include "Avm1Assembler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace flash::script::testing {

class ScriptTest : public ::testing::Test {
protected:
    ScriptTest() : vm(host) { host.attach(vm); }

    // Compiles `source` for `version` and runs it on the root clip; returns the trace lines joined by newlines.
    std::string run(std::string_view source, int version = 8, bool registers = true)
    {
        return runBytes(swfw::compileActionScript(source, { version, registers }), version);
    }
    std::string runBytes(std::vector<uint8_t> bytes, int version = 8)
    {
        host.traces.clear();
        auto owner = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
        lastStatus = vm.run(ActionBlock { *owner, owner, version }, host.root().object);
        return host.output();
    }

    FakeScriptHost host;
    Interpreter vm;
    RunStatus lastStatus = RunStatus::Completed;
};

} // namespace flash::script::testing
