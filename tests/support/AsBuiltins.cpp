// Global functions that compile to actions of their own instead of a call:
// trace, getTimer, the SWF 4 string functions, timeline control, URL loading,
// clip duplication and dragging, properties by index, eval and set.
#include "AsBuiltins.h"

#include "AsLexer.h"

#include <array>
#include <functional>
#include <string_view>

namespace swfw::as {

namespace {

constexpr std::array<std::string_view, 22> kProperties = {
    "_x", "_y", "_xscale", "_yscale", "_currentframe", "_totalframes", "_alpha", "_visible",
    "_width", "_height", "_rotation", "_target", "_framesloaded", "_name", "_droptarget", "_url",
    "_highquality", "_focusrect", "_soundbuftime", "_quality", "_xmouse", "_ymouse",
};

// A property named by an identifier or a string, as its index.
int propertyIndex(const Expr& e)
{
    if (e.kind == ExprKind::Identifier || e.kind == ExprKind::String) {
        for (size_t i = 0; i < kProperties.size(); ++i)
            if (kProperties[i] == e.text)
                return static_cast<int>(i);
    }
    syntaxError(e.pos, "expected a property such as _x");
}

struct Call {
    AsCodegen& g;
    const Expr& e;
    [[nodiscard]] size_t count() const { return e.kids.size() - 1; }
    [[nodiscard]] const Expr& arg(size_t i) const { return *e.kids[i + 1]; }
    void push(size_t i) const { g.expr(arg(i), Want::Value); }
    Avm1Assembler& ops() const { return g.out().ops(); }
    [[nodiscard]] const std::string* literal(size_t i) const
    {
        return i < count() && arg(i).kind == ExprKind::String ? &arg(i).text : nullptr;
    }
    [[nodiscard]] bool isWholeNumber(size_t i) const
    {
        return i < count() && arg(i).kind == ExprKind::Number && arg(i).number >= 1 && arg(i).number <= 65536
            && arg(i).number == static_cast<int>(arg(i).number);
    }
};

enum class Result { Value, None };

struct Builtin {
    std::string_view name;
    size_t minArgs, maxArgs;
    std::function<Result(const Call&)> emit;
};

// The value of a push, or an empty push when the argument is absent.
void pushOrEmpty(const Call& c, size_t i)
{
    if (i < c.count())
        c.push(i);
    else
        c.g.out().pushString("");
}

UrlMethod urlMethod(const Call& c, size_t i)
{
    if (i >= c.count())
        return UrlMethod::None;
    const std::string* m = c.literal(i);
    if (m && (*m == "GET" || *m == "get"))
        return UrlMethod::Get;
    if (m && (*m == "POST" || *m == "post"))
        return UrlMethod::Post;
    syntaxError(c.arg(i).pos, "the method is \"GET\" or \"POST\"");
}

Result unaryAction(const Call& c, Avm1Assembler& (Avm1Assembler::*action)())
{
    for (size_t i = 0; i < c.count(); ++i)
        c.push(i);
    (c.ops().*action)();
    return Result::Value;
}

Result effectAction(const Call& c, Avm1Assembler& (Avm1Assembler::*action)())
{
    unaryAction(c, action);
    return Result::None;
}

Result gotoFrame(const Call& c, AfterGoto after)
{
    if (c.isWholeNumber(0)) {
        c.ops().gotoFrame(static_cast<uint16_t>(c.arg(0).number - 1));
    } else if (const std::string* label = c.literal(0)) {
        c.ops().gotoLabel(*label);
    } else {
        c.push(0);
        c.ops().gotoFrame2(after);
        return Result::None;
    }
    if (after == AfterGoto::Play)
        c.ops().play();
    return Result::None;
}

// A level number as the target name "_levelN".
void pushLevel(const Call& c, size_t i)
{
    if (c.isWholeNumber(i) || (c.arg(i).kind == ExprKind::Number && c.arg(i).number == 0)) {
        c.g.out().pushString("_level" + std::to_string(static_cast<int>(c.arg(i).number)));
        return;
    }
    c.g.out().pushString("_level");
    c.push(i);
    c.ops().add2();
}

Result getUrl(const Call& c)
{
    const std::string* url = c.literal(0);
    const std::string* window = c.literal(1);
    if (url && (window || c.count() == 1) && c.count() < 3) {
        c.ops().getUrl(*url, window ? *window : "");
        return Result::None;
    }
    c.push(0);
    pushOrEmpty(c, 1);
    c.ops().getUrl2(urlMethod(c, 2));
    return Result::None;
}

Result loadInto(const Call& c, UrlTarget target, UrlLoad load, bool byLevel)
{
    if (byLevel && load == UrlLoad::Movie && c.literal(0) && c.count() == 2 && c.arg(1).kind == ExprKind::Number) {
        c.ops().getUrl(*c.literal(0), "_level" + std::to_string(static_cast<int>(c.arg(1).number)));
        return Result::None;
    }
    c.push(0);
    byLevel ? pushLevel(c, 1) : c.push(1);
    c.ops().getUrl2(urlMethod(c, 2), target, load);
    return Result::None;
}

Result startDrag(const Call& c)
{
    if (c.count() != 1 && c.count() != 2 && c.count() != 6)
        syntaxError(c.e.pos, "startDrag takes a target, a lock flag and optionally four bounds");
    const bool constrained = c.count() == 6;
    for (size_t i = 2; constrained && i < 6; ++i)
        c.push(i);
    c.g.out().pushNumber(constrained ? 1 : 0);
    if (c.count() >= 2)
        c.push(1);
    else
        c.g.out().pushNumber(0);
    c.push(0);
    c.ops().startDrag();
    return Result::None;
}

const std::vector<Builtin>& builtins()
{
    static const std::vector<Builtin> table = {
        {"trace", 1, 1, [](const Call& c) { return effectAction(c, &Avm1Assembler::trace); }},
        {"getTimer", 0, 0, [](const Call& c) { return unaryAction(c, &Avm1Assembler::getTime); }},
        {"random", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::randomNumber); }},
        {"int", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::toInteger); }},
        {"chr", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::asciiToChar); }},
        {"ord", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::charToAscii); }},
        {"mbchr", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::mbAsciiToChar); }},
        {"mbord", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::mbCharToAscii); }},
        {"length", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::stringLength); }},
        {"mblength", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::mbStringLength); }},
        {"substring", 3, 3, [](const Call& c) { return unaryAction(c, &Avm1Assembler::stringExtract); }},
        {"mbsubstring", 3, 3, [](const Call& c) { return unaryAction(c, &Avm1Assembler::mbStringExtract); }},
        {"eval", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::getVariable); }},
        {"targetPath", 1, 1, [](const Call& c) { return unaryAction(c, &Avm1Assembler::targetPath); }},
        {"set", 2, 2, [](const Call& c) { return effectAction(c, &Avm1Assembler::setVariable); }},
        {"call", 1, 1, [](const Call& c) { return effectAction(c, &Avm1Assembler::call); }},
        {"removeMovieClip", 1, 1, [](const Call& c) { return effectAction(c, &Avm1Assembler::removeSprite); }},
        {"play", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::play); }},
        {"stop", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::stop); }},
        {"nextFrame", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::nextFrame); }},
        {"prevFrame", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::prevFrame); }},
        {"stopAllSounds", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::stopSounds); }},
        {"toggleHighQuality", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::toggleQuality); }},
        {"stopDrag", 0, 0, [](const Call& c) { return effectAction(c, &Avm1Assembler::endDrag); }},
        {"gotoAndStop", 1, 1, [](const Call& c) { return gotoFrame(c, AfterGoto::Stop); }},
        {"gotoAndPlay", 1, 1, [](const Call& c) { return gotoFrame(c, AfterGoto::Play); }},
        {"getURL", 1, 3, getUrl},
        {"loadMovie", 2, 3, [](const Call& c) { return loadInto(c, UrlTarget::Sprite, UrlLoad::Movie, false); }},
        {"loadMovieNum", 2, 3, [](const Call& c) { return loadInto(c, UrlTarget::Window, UrlLoad::Movie, true); }},
        {"loadVariables", 2, 3, [](const Call& c) { return loadInto(c, UrlTarget::Sprite, UrlLoad::Variables, false); }},
        {"loadVariablesNum", 2, 3, [](const Call& c) { return loadInto(c, UrlTarget::Window, UrlLoad::Variables, true); }},
        {"unloadMovie", 1, 1, [](const Call& c) {
             c.g.out().pushString("");
             c.push(0);
             c.ops().getUrl2(UrlMethod::None, UrlTarget::Sprite);
             return Result::None;
         }},
        {"unloadMovieNum", 1, 1, [](const Call& c) {
             c.g.out().pushString("");
             c.g.out().pushString("_level");
             c.push(0);
             c.ops().add2();
             c.ops().getUrl2(UrlMethod::None, UrlTarget::Window);
             return Result::None;
         }},
        {"fscommand", 1, 2, [](const Call& c) {
             if (c.literal(0) && (c.count() == 1 || c.literal(1))) {
                 c.ops().getUrl("FSCommand:" + *c.literal(0), c.count() == 2 ? *c.literal(1) : "");
                 return Result::None;
             }
             c.g.out().pushString("FSCommand:");
             c.push(0);
             c.ops().add2();
             pushOrEmpty(c, 1);
             c.ops().getUrl2();
             return Result::None;
         }},
        {"duplicateMovieClip", 3, 3, [](const Call& c) {
             // Script depths sit 16384 above the depths timelines place at.
             c.push(0);
             c.push(1);
             c.push(2);
             c.g.out().pushNumber(16384);
             c.ops().add().cloneSprite();
             return Result::None;
         }},
        {"startDrag", 1, 6, startDrag},
        {"getProperty", 2, 2, [](const Call& c) {
             c.push(0);
             c.g.out().pushNumber(propertyIndex(c.arg(1)));
             c.ops().getProperty();
             return Result::Value;
         }},
        {"setProperty", 3, 3, [](const Call& c) {
             c.push(0);
             c.g.out().pushNumber(propertyIndex(c.arg(1)));
             c.push(2);
             c.ops().setProperty();
             return Result::None;
         }},
        {"getVersion", 0, 0, [](const Call& c) {
             c.g.out().pushString("/:$version");
             c.ops().getVariable();
             return Result::Value;
         }},
    };
    return table;
}

} // namespace

bool compileBuiltinCall(AsCodegen& g, const Expr& call, Want want)
{
    const std::string& name = call.kids[0]->text;
    for (const Builtin& b : builtins()) {
        if (b.name != name)
            continue;
        const Call c{g, call};
        if (c.count() < b.minArgs || c.count() > b.maxArgs)
            syntaxError(call.pos, std::string(name) + " takes " + std::to_string(b.minArgs)
                                      + (b.minArgs == b.maxArgs ? "" : " to " + std::to_string(b.maxArgs))
                                      + (b.maxArgs == 1 ? " argument" : " arguments"));
        const Result r = b.emit(c);
        if (r == Result::Value)
            g.discard(want);
        else if (want == Want::Value)
            g.out().push(Undefined);
        return true;
    }
    return false;
}

} // namespace swfw::as
