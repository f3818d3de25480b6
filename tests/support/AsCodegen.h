// Turns the syntax tree of one block or function into actions, in the patterns
// the Flash 8 authoring compiler used: Push merged, strings pooled, locals in
// registers of DefineFunction2, && and || through PushDuplicate and If.
#pragma once

#include "AsAst.h"
#include "AsEmitter.h"
#include "AsFunctionPlan.h"

#include <optional>
#include <vector>

namespace swfw::as {

enum class Want { Value, Nothing };

struct CodegenSettings {
    int swfVersion = 8;
    bool registers = true; // DefineFunction2 with register locals (SWF 7 on)
};

class AsCodegen {
public:
    // The top level of a block.
    AsCodegen(ConstantPool& pool, CodegenSettings settings);
    // The body of a function, planned beforehand.
    AsCodegen(ConstantPool& pool, CodegenSettings settings, FunctionPlan plan, const ClassScope* cls, bool isMethod);

    // Function declarations of the list come first, as the player expects them defined before any code runs.
    void statements(StmtList& list);
    void statement(Stmt& s);
    void expr(const Expr& e, Want want);
    // A named function is defined as a variable; an unnamed one is left on the stack.
    void defineFunction(Function& f, const ClassScope* cls);

    [[nodiscard]] AsEmitter& out() { return *m_out; }
    [[nodiscard]] int swfVersion() const { return m_settings.swfVersion; }
    [[nodiscard]] bool isTopLevel() const { return !m_function; }
    // The code with pending pushes written, and the registers it needs.
    [[nodiscard]] const Avm1Assembler& finish() { return m_root.finish(); }
    [[nodiscard]] uint8_t registerCount() const { return m_nextRegister; }

    // Pushes a dotted path: the first name as a variable, the rest as members.
    void pushPath(const std::vector<std::string>& path, size_t count);
    // Pops the value on top (and the If it feeds) unless it was wanted.
    void discard(Want want);

private:
    enum class NameKind { Register, Variable, ThisMember, StaticMember };
    struct Name {
        NameKind kind = NameKind::Variable;
        uint8_t reg = 0;
    };
    struct LValue {
        enum class Kind { Register, Variable, Property } kind = Kind::Variable;
        uint8_t reg = 0;
        std::string name;            // variable, or property name when there is no key expression
        const Expr* object = nullptr; // null: `this` or the class itself (staticOwner)
        const Expr* key = nullptr;
        bool staticOwner = false;
        std::optional<uint8_t> objectTemp, keyTemp;
    };
    struct JumpTarget {
        enum class Kind { Loop, ForIn, Switch } kind = Kind::Loop;
        Label breakTo;
        std::optional<Label> continueTo;
        AsEmitter* owner = nullptr;
        bool broken = false;
    };

    // Names.
    [[nodiscard]] Name resolve(const std::string& name) const;
    void pushThis();
    void pushSuper();
    void pushSpecial(const char* name);
    void readIdentifier(const std::string& name);

    // Assignment targets.
    [[nodiscard]] LValue lvalue(const Expr& target);
    void beginStore(LValue& lv, bool willLoad);
    void load(LValue& lv);
    void endStore(const LValue& lv, Want want);
    void pushOwner(const LValue& lv);
    void pushKey(const LValue& lv);
    [[nodiscard]] uint8_t holdTemp();
    void releaseTemp(uint8_t reg);

    // Expressions.
    void value(const Expr& e);
    void assign(const Expr& e, Want want);
    void increment(const Expr& e, Want want);
    void call(const Expr& e, Want want);
    void construct(const Expr& e);
    void pushArguments(const Expr& e, size_t first);
    void unary(const Expr& e, Want want);
    void binary(const Expr& e);
    void binaryOp(const std::string& op);
    void logical(const Expr& e, Want want);
    void conditional(const Expr& e, Want want);

    // Statements.
    void varStatement(const Stmt& s);
    void ifStatement(Stmt& s);
    void whileStatement(Stmt& s);
    void doWhileStatement(Stmt& s);
    void forStatement(Stmt& s);
    void forInStatement(Stmt& s);
    void switchStatement(Stmt& s);
    void tryStatement(Stmt& s);
    void withStatement(Stmt& s);
    void tellTargetStatement(Stmt& s);
    void ifFrameLoadedStatement(Stmt& s);
    void jumpStatement(const Stmt& s);
    void storeForInName(const Stmt& s);
    void branchUnless(const Expr& test, Label target);
    // Compiles `body` into its own block, for actions that carry a body of their own.
    [[nodiscard]] Avm1Assembler separateBlock(Stmt& body);

    ConstantPool& m_pool;
    CodegenSettings m_settings;
    FunctionPlan m_plan;
    const ClassScope* m_class = nullptr;
    bool m_function = false;
    bool m_method = false;
    AsEmitter m_root;
    AsEmitter* m_out;
    std::vector<JumpTarget> m_jumps;
    uint8_t m_nextRegister = 1;
    std::vector<uint8_t> m_freeTemps;
    bool m_scratchHeld = false;
};

[[nodiscard]] bool isPure(const Expr& e);

} // namespace swfw::as
