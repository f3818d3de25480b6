// System: the player's capabilities as a Linux standalone player of its era
// reports them, the security calls (accepted, nothing to enforce yet) and the settings.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <string>

namespace flash::script {

namespace {

constexpr const char* kVersion = "LNX 8,0,24,0";
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct Capability {
    const char* name;
    const char* code; // its key in serverString
    bool value;
};

constexpr Capability kFlags[] = {
    { "hasAudio", "A", true },
    { "hasStreamingAudio", "SA", true },
    { "hasStreamingVideo", "SV", true },
    { "hasEmbeddedVideo", "EV", true },
    { "hasMP3", "MP3", true },
    { "hasAudioEncoder", "AE", true },
    { "hasVideoEncoder", "VE", true },
    { "hasAccessibility", "ACC", false },
    { "hasPrinting", "PR", true },
    { "hasScreenPlayback", "SP", false },
    { "hasScreenBroadcast", "SB", false },
    { "isDebugger", "DEB", false },
    { "hasIME", "IME", false },
    { "avHardwareDisable", "AVD", false },
    { "localFileReadDisable", "LFD", false },
    { "windowlessDisable", "WD", false },
};

// serverString escapes what a query string cannot hold as it is.
std::string escaped(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char ch : text) {
        if ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '.') {
            out += char(ch);
        } else {
            out += '%';
            out += kHex[ch >> 4];
            out += kHex[ch & 15];
        }
    }
    return out;
}

std::string serverString()
{
    std::string out;
    for (const Capability& f : kFlags) {
        out += out.empty() ? "" : "&";
        out += std::string(f.code) + "=" + (f.value ? "t" : "f");
    }
    out += "&V=" + escaped(kVersion) + "&M=" + escaped("Linux");
    out += "&R=" + std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight);
    out += "&DP=72&COL=color&AR=1.0&OS=Linux&L=en&PT=StandAlone";
    return out;
}

Object* makeCapabilities(Interpreter& vm)
{
    Object* caps = vm.newObject();
    const auto put = [&](const char* name, Value value) { vm.define(*caps, String(name), std::move(value), 0); };
    for (const Capability& f : kFlags)
        put(f.name, Value(f.value));
    put("language", Value("en"));
    put("manufacturer", Value("Linux"));
    put("os", Value("Linux"));
    put("playerType", Value("StandAlone"));
    put("version", Value(kVersion));
    put("screenColor", Value("color"));
    put("screenDPI", Value(72));
    put("screenResolutionX", Value(kScreenWidth));
    put("screenResolutionY", Value(kScreenHeight));
    put("pixelAspectRatio", Value(1));
    put("serverString", Value(String(serverString())));
    return caps;
}

// allowDomain, setClipboard, showSettings and the like: accepted, nothing to do yet.
Value nothing(CallContext&) { return Value(); }

} // namespace

void installSystem(Interpreter& vm)
{
    Object* system = vm.newObject();
    vm.define(*vm.global(), String("System"), Value(system));
    vm.define(*system, String("capabilities"), Value(makeCapabilities(vm)));
    Object* security = vm.newObject();
    vm.define(*system, String("security"), Value(security));
    defineMethod(vm, *security, "allowDomain", nothing);
    defineMethod(vm, *security, "allowInsecureDomain", nothing);
    defineMethod(vm, *security, "loadPolicyFile", nothing);
    vm.define(*system, String("useCodepage"), Value(false), 0);
    vm.define(*system, String("exactSettings"), Value(true), 0);
    defineMethod(vm, *system, "setClipboard", nothing);
    defineMethod(vm, *system, "showSettings", nothing);
}

} // namespace flash::script
