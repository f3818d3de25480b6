// The script side of one display object: its properties (_x, _alpha, ...) and
// its named children answer before the object's own variables.
//
// The delegate holds the display object by handle and remembers its path: once
// the object is gone, a reference to it finds whatever clip now stands at that
// path, or nothing.
#pragma once

#include "flash/script/HostObject.h"
#include "flash/stage/DisplayList.h"
#include "flash/stage/ObjectRegistry.h"

#include <string>

namespace flash {

class StageHost;
struct DisplayObject;

class ClipDelegate : public script::HostDelegate {
public:
    ClipDelegate(StageHost& host, DisplayObject& object);

    // The object itself while it is on stage, else the clip at its path, else null.
    [[nodiscard]] DisplayObject* target() const;
    [[nodiscard]] bool isOriginal(const DisplayObject& object) const { return object.id == m_handle.id; }
    [[nodiscard]] bool wasClip() const { return m_wasClip; }

    std::optional<script::Value> get(script::Interpreter& vm, script::Object& self, const script::String& name) override;
    script::Claim set(script::Interpreter& vm, script::Object& self, const script::String& name,
                      const script::Value& value) override;
    bool has(script::Interpreter& vm, script::Object& self, const script::String& name) override;
    void enumerate(script::Interpreter& vm, script::Object& self, std::vector<script::String>& names) override;

private:
    StageHost& m_host;
    ObjectHandle m_handle;
    mutable std::string m_path; // its dot path ("_level0.a.b"), refreshed after renames while the object lives
    mutable uint64_t m_pathRenames = 0;
    bool m_wasClip = false;
};

} // namespace flash
