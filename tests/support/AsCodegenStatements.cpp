// Statements. Conditions branch past their body with Not and If; loops jump
// back to their test; switch compares with StrictEquals; for..in walks the
// names Enumerate leaves on the stack down to the null beneath them.
#include "AsCodegen.h"

#include "AsClasses.h"
#include "AsLexer.h"

namespace swfw::as {

namespace {

// Actions in a block, for WaitForFrame's skip count.
size_t countActions(const std::vector<uint8_t>& code)
{
    size_t count = 0;
    for (size_t at = 0; at < code.size(); ++count)
        at += code[at] < 0x80 ? 1 : 3 + (code[at + 1] | code[at + 2] << 8);
    return count;
}

} // namespace

void AsCodegen::statements(StmtList& list)
{
    for (auto& s : list)
        if (s->kind == StmtKind::FunctionDecl)
            statement(*s);
    for (auto& s : list)
        if (s->kind != StmtKind::FunctionDecl)
            statement(*s);
}

void AsCodegen::statement(Stmt& s)
{
    switch (s.kind) {
    case StmtKind::Expression: return expr(*s.expr, Want::Nothing);
    case StmtKind::Var: return varStatement(s);
    case StmtKind::FunctionDecl: return defineFunction(*s.function, nullptr);
    case StmtKind::Return:
        if (s.expr)
            expr(*s.expr, Want::Value);
        else
            out().push(Undefined);
        (void)out().ops().returnOp();
        return;
    case StmtKind::If: return ifStatement(s);
    case StmtKind::While: return whileStatement(s);
    case StmtKind::DoWhile: return doWhileStatement(s);
    case StmtKind::For: return forStatement(s);
    case StmtKind::ForIn: return forInStatement(s);
    case StmtKind::Break: case StmtKind::Continue: return jumpStatement(s);
    case StmtKind::Switch: return switchStatement(s);
    case StmtKind::Try: return tryStatement(s);
    case StmtKind::Throw:
        expr(*s.expr, Want::Value);
        (void)out().ops().throwOp();
        return;
    case StmtKind::With: return withStatement(s);
    case StmtKind::Block: return statements(s.block);
    case StmtKind::Empty: return;
    case StmtKind::TellTarget: return tellTargetStatement(s);
    case StmtKind::IfFrameLoaded: return ifFrameLoadedStatement(s);
    case StmtKind::Class:
        if (!isTopLevel())
            syntaxError(s.pos, "classes are declared at the top level");
        return compileClass(*this, *s.classDef);
    }
}

void AsCodegen::varStatement(const Stmt& s)
{
    for (size_t i = 0; i < s.names.size(); ++i) {
        const Expr* init = s.inits[i].get();
        if (auto it = m_plan.registerOf.find(s.names[i]); it != m_plan.registerOf.end()) {
            if (init) {
                expr(*init, Want::Value);
                (void)out().ops().storeRegister(it->second).pop();
            }
            continue;
        }
        out().pushString(s.names[i]);
        if (init) {
            expr(*init, Want::Value);
            (void)out().ops().defineLocal();
        } else {
            (void)out().ops().defineLocal2();
        }
    }
}

void AsCodegen::branchUnless(const Expr& test, Label target)
{
    expr(test, Want::Value);
    (void)out().ops().notOp().ifOp(target);
}

void AsCodegen::ifStatement(Stmt& s)
{
    const Label otherwise = out().newLabel();
    branchUnless(*s.expr, otherwise);
    statement(*s.body[0]);
    if (!s.body[1]) {
        out().bind(otherwise);
        return;
    }
    const Label end = out().newLabel();
    (void)out().ops().jump(end);
    out().bind(otherwise);
    statement(*s.body[1]);
    out().bind(end);
}

void AsCodegen::whileStatement(Stmt& s)
{
    const Label top = out().newLabel();
    const Label end = out().newLabel();
    out().bind(top);
    branchUnless(*s.expr, end);
    m_jumps.push_back({JumpTarget::Kind::Loop, end, top, m_out});
    statement(*s.body[0]);
    m_jumps.pop_back();
    (void)out().ops().jump(top);
    out().bind(end);
}

void AsCodegen::doWhileStatement(Stmt& s)
{
    const Label top = out().newLabel();
    const Label test = out().newLabel();
    const Label end = out().newLabel();
    out().bind(top);
    m_jumps.push_back({JumpTarget::Kind::Loop, end, test, m_out});
    statement(*s.body[0]);
    m_jumps.pop_back();
    out().bind(test);
    expr(*s.expr, Want::Value);
    (void)out().ops().ifOp(top);
    out().bind(end);
}

void AsCodegen::forStatement(Stmt& s)
{
    if (s.init)
        statement(*s.init);
    const Label top = out().newLabel();
    const Label next = out().newLabel();
    const Label end = out().newLabel();
    out().bind(top);
    if (s.expr)
        branchUnless(*s.expr, end);
    m_jumps.push_back({JumpTarget::Kind::Loop, end, next, m_out});
    statement(*s.body[0]);
    m_jumps.pop_back();
    out().bind(next);
    if (s.update)
        expr(*s.update, Want::Nothing);
    (void)out().ops().jump(top);
    out().bind(end);
}

void AsCodegen::storeForInName(const Stmt& s)
{
    const std::string& name = s.names[0];
    if (s.isVar && !m_plan.registerOf.contains(name)) {
        out().pushString(name);
        out().push(reg(0));
        (void)out().ops().defineLocal();
        return;
    }
    Expr id;
    id.kind = ExprKind::Identifier;
    id.text = name;
    LValue lv = lvalue(id);
    beginStore(lv, false);
    out().push(reg(0));
    endStore(lv, Want::Nothing);
}

void AsCodegen::forInStatement(Stmt& s)
{
    // SWF 5 enumerates a variable given by name; later versions the object itself.
    const Expr& object = *s.expr;
    if (swfVersion() < 6 && object.kind == ExprKind::Identifier && resolve(object.text).kind == NameKind::Variable) {
        out().pushString(object.text);
        (void)out().ops().enumerate();
    } else {
        expr(object, Want::Value);
        (void)out().ops().enumerate2();
    }
    const Label top = out().newLabel();
    const Label unwind = out().newLabel();
    const Label end = out().newLabel();
    out().bind(top);
    (void)out().ops().storeRegister(0);
    out().push(Null);
    (void)out().ops().equals2().ifOp(end);
    storeForInName(s);
    m_jumps.push_back({JumpTarget::Kind::ForIn, unwind, top, m_out});
    statement(*s.body[0]);
    const bool broken = m_jumps.back().broken;
    m_jumps.pop_back();
    (void)out().ops().jump(top);
    if (broken) {
        // Leaving early: pop the names not yet visited, down to the null.
        out().bind(unwind);
        out().push(Null);
        (void)out().ops().equals2().notOp().ifOp(unwind);
    }
    out().bind(end);
}

void AsCodegen::jumpStatement(const Stmt& s)
{
    const bool isBreak = s.kind == StmtKind::Break;
    for (auto it = m_jumps.rbegin(); it != m_jumps.rend(); ++it) {
        if (!isBreak && !it->continueTo)
            continue;
        if (it->owner != m_out)
            syntaxError(s.pos, "jumping out of a try, with or ifFrameLoaded block is not supported");
        if (isBreak)
            it->broken = true;
        (void)out().ops().jump(isBreak ? it->breakTo : *it->continueTo);
        return;
    }
    syntaxError(s.pos, isBreak ? "break outside a loop or switch" : "continue outside a loop");
}

void AsCodegen::switchStatement(Stmt& s)
{
    const uint8_t held = holdTemp();
    expr(*s.expr, Want::Value);
    (void)out().ops().storeRegister(held);
    std::vector<Label> labels;
    std::optional<Label> fallback;
    bool first = true;
    for (const auto& c : s.cases) {
        labels.push_back(out().newLabel());
        if (!c.test) {
            fallback = labels.back();
            continue;
        }
        // The first test compares the value StoreRegister left on the stack.
        if (!first)
            out().push(reg(held));
        first = false;
        expr(*c.test, Want::Value);
        (void)out().ops().strictEquals().ifOp(labels.back());
    }
    if (first)
        (void)out().ops().pop();
    releaseTemp(held);
    const Label end = out().newLabel();
    (void)out().ops().jump(fallback.value_or(end));
    m_jumps.push_back({JumpTarget::Kind::Switch, end, std::nullopt, m_out});
    for (size_t i = 0; i < s.cases.size(); ++i) {
        out().bind(labels[i]);
        for (auto& body : s.cases[i].body)
            statement(*body);
    }
    m_jumps.pop_back();
    out().bind(end);
}

Avm1Assembler AsCodegen::separateBlock(Stmt& body)
{
    AsEmitter block(m_pool);
    AsEmitter* outer = m_out;
    m_out = &block;
    statement(body);
    m_out = outer;
    return block.finish();
}

void AsCodegen::tryStatement(Stmt& s)
{
    TryParts parts{.body = separateBlock(*s.body[0])};
    if (s.body[1]) {
        const std::string& name = s.names[0];
        if (auto it = m_plan.registerOf.find(name); it != m_plan.registerOf.end())
            parts.catchInto = CatchRegister{it->second};
        else
            parts.catchInto = name;
        parts.catchBody = separateBlock(*s.body[1]);
    }
    if (s.body[2])
        parts.finallyBody = separateBlock(*s.body[2]);
    (void)out().ops().tryOp(parts);
}

void AsCodegen::withStatement(Stmt& s)
{
    expr(*s.expr, Want::Value);
    const Avm1Assembler body = separateBlock(*s.body[0]);
    (void)out().ops().with(body);
}

void AsCodegen::tellTargetStatement(Stmt& s)
{
    if (s.expr->kind == ExprKind::String) {
        (void)out().ops().setTarget(s.expr->text);
    } else {
        expr(*s.expr, Want::Value);
        (void)out().ops().setTarget2();
    }
    statement(*s.body[0]);
    (void)out().ops().setTarget("");
}

void AsCodegen::ifFrameLoadedStatement(Stmt& s)
{
    const Avm1Assembler body = separateBlock(*s.body[0]);
    const auto code = body.code();
    const size_t count = countActions(code);
    if (count > 255)
        syntaxError(s.pos, "ifFrameLoaded can skip at most 255 actions");
    const Expr& frame = *s.expr;
    if (frame.kind == ExprKind::Number && frame.number >= 1 && frame.number <= 65536 && frame.number == static_cast<int>(frame.number)) {
        (void)out().ops().waitForFrame(static_cast<uint16_t>(frame.number - 1), static_cast<uint8_t>(count));
    } else {
        expr(frame, Want::Value);
        (void)out().ops().waitForFrame2(static_cast<uint8_t>(count));
    }
    (void)out().ops().raw(code);
}

} // namespace swfw::as
