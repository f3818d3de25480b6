// Expressions and names. Arguments are pushed last first, then their count;
// an assignment whose value is used keeps it in register 0 across the store.
#include "AsCodegen.h"

#include "AsBuiltins.h"
#include "AsLexer.h"

namespace swfw::as {

bool isPure(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::Number: case ExprKind::String: case ExprKind::Boolean: case ExprKind::Null:
    case ExprKind::Undefined: case ExprKind::Identifier: case ExprKind::This: case ExprKind::Super:
        return true;
    case ExprKind::Member: case ExprKind::Index: case ExprKind::Binary: case ExprKind::Conditional:
        for (const auto& k : e.kids)
            if (!isPure(*k))
                return false;
        return true;
    case ExprKind::Unary:
        return e.text != "delete" && isPure(*e.kids[0]);
    default:
        return false;
    }
}

AsCodegen::AsCodegen(ConstantPool& pool, CodegenSettings settings)
    : m_pool(pool), m_settings(settings), m_root(pool), m_out(&m_root)
{
}

AsCodegen::AsCodegen(ConstantPool& pool, CodegenSettings settings, FunctionPlan plan, const ClassScope* cls,
                     bool isMethod)
    : m_pool(pool), m_settings(settings), m_plan(std::move(plan)), m_class(cls), m_function(true),
      m_method(isMethod), m_root(pool), m_out(&m_root), m_nextRegister(m_plan.nextRegister)
{
}

void AsCodegen::discard(Want want)
{
    if (want == Want::Nothing)
        (void)out().ops().pop();
}

void AsCodegen::pushPath(const std::vector<std::string>& path, size_t count)
{
    readIdentifier(path[0]);
    for (size_t i = 1; i < count; ++i) {
        out().pushString(path[i]);
        (void)out().ops().getMember();
    }
}

// Names.

AsCodegen::Name AsCodegen::resolve(const std::string& name) const
{
    if (auto it = m_plan.registerOf.find(name); it != m_plan.registerOf.end())
        return {NameKind::Register, it->second};
    if (m_class && m_method && !m_plan.declared.contains(name)) {
        if (m_class->instanceMembers.contains(name))
            return {NameKind::ThisMember};
        if (m_class->staticMembers.contains(name))
            return {NameKind::StaticMember};
    }
    return {NameKind::Variable};
}

void AsCodegen::pushSpecial(const char* name)
{
    if (auto it = m_plan.registerOf.find(name); it != m_plan.registerOf.end()) {
        out().push(reg(it->second));
        return;
    }
    out().pushString(name);
    (void)out().ops().getVariable();
}

void AsCodegen::pushThis() { pushSpecial("this"); }
void AsCodegen::pushSuper() { pushSpecial("super"); }

void AsCodegen::readIdentifier(const std::string& name)
{
    const Name n = resolve(name);
    switch (n.kind) {
    case NameKind::Register:
        out().push(reg(n.reg));
        return;
    case NameKind::ThisMember:
        pushThis();
        break;
    case NameKind::StaticMember:
        pushPath(m_class->path, m_class->path.size());
        break;
    case NameKind::Variable:
        out().pushString(name);
        (void)out().ops().getVariable();
        return;
    }
    out().pushString(name);
    (void)out().ops().getMember();
}

// Assignment targets.

uint8_t AsCodegen::holdTemp()
{
    if (m_plan.registers) {
        if (!m_freeTemps.empty()) {
            const uint8_t r = m_freeTemps.back();
            m_freeTemps.pop_back();
            return r;
        }
        if (m_nextRegister == 255)
            throw std::length_error("a function needs more than 255 registers");
        return m_nextRegister++;
    }
    // Outside DefineFunction2 only register 0 is ours to use.
    if (m_scratchHeld)
        throw std::runtime_error("expression needs more than one temporary register outside DefineFunction2");
    m_scratchHeld = true;
    return 0;
}

void AsCodegen::releaseTemp(uint8_t r)
{
    if (m_plan.registers)
        m_freeTemps.push_back(r);
    else
        m_scratchHeld = false;
}

AsCodegen::LValue AsCodegen::lvalue(const Expr& target)
{
    LValue lv;
    if (target.kind == ExprKind::Identifier) {
        const Name n = resolve(target.text);
        lv.name = target.text;
        if (n.kind == NameKind::Register) {
            lv.kind = LValue::Kind::Register;
            lv.reg = n.reg;
        } else if (n.kind != NameKind::Variable) {
            lv.kind = LValue::Kind::Property;
            lv.staticOwner = n.kind == NameKind::StaticMember;
        }
        return lv;
    }
    lv.kind = LValue::Kind::Property;
    lv.object = target.kids[0].get();
    if (target.kind == ExprKind::Member)
        lv.name = target.text;
    else
        lv.key = target.kids[1].get();
    return lv;
}

void AsCodegen::pushOwner(const LValue& lv)
{
    if (lv.objectTemp)
        out().push(reg(*lv.objectTemp));
    else if (lv.object)
        value(*lv.object);
    else if (lv.staticOwner)
        pushPath(m_class->path, m_class->path.size());
    else
        pushThis();
}

void AsCodegen::pushKey(const LValue& lv)
{
    if (lv.keyTemp)
        out().push(reg(*lv.keyTemp));
    else if (lv.key)
        value(*lv.key);
    else
        out().pushString(lv.name);
}

void AsCodegen::beginStore(LValue& lv, bool willLoad)
{
    if (lv.kind == LValue::Kind::Variable) {
        out().pushString(lv.name);
        return;
    }
    if (lv.kind == LValue::Kind::Register)
        return;
    // Loading evaluates owner and key again: values with side effects are kept in registers.
    const bool keepObject = willLoad && lv.object && !isPure(*lv.object);
    const bool keepKey = willLoad && lv.key && !isPure(*lv.key);
    pushOwner(lv);
    if (keepObject) {
        lv.objectTemp = holdTemp();
        (void)out().ops().storeRegister(*lv.objectTemp);
    }
    pushKey(lv);
    if (keepKey) {
        lv.keyTemp = holdTemp();
        (void)out().ops().storeRegister(*lv.keyTemp);
    }
}

void AsCodegen::load(LValue& lv)
{
    switch (lv.kind) {
    case LValue::Kind::Variable:
        out().pushString(lv.name);
        (void)out().ops().getVariable();
        return;
    case LValue::Kind::Register:
        out().push(reg(lv.reg));
        return;
    case LValue::Kind::Property:
        pushOwner(lv);
        pushKey(lv);
        (void)out().ops().getMember();
        for (auto* temp : {&lv.objectTemp, &lv.keyTemp}) {
            if (*temp)
                releaseTemp(**temp);
            temp->reset();
        }
        return;
    }
}

void AsCodegen::endStore(const LValue& lv, Want want)
{
    auto& ops = out().ops();
    if (lv.kind == LValue::Kind::Register) {
        ops.storeRegister(lv.reg);
        discard(want);
        return;
    }
    if (want == Want::Value)
        ops.storeRegister(0);
    if (lv.kind == LValue::Kind::Variable)
        ops.setVariable();
    else
        ops.setMember();
    if (want == Want::Value)
        out().push(reg(0));
}

// Expressions.

void AsCodegen::expr(const Expr& e, Want want)
{
    switch (e.kind) {
    case ExprKind::Assign:
        return assign(e, want);
    case ExprKind::PreIncrement: case ExprKind::PreDecrement:
    case ExprKind::PostIncrement: case ExprKind::PostDecrement:
        return increment(e, want);
    case ExprKind::Call:
        return call(e, want);
    case ExprKind::Unary:
        return unary(e, want);
    case ExprKind::Conditional:
        return conditional(e, want);
    case ExprKind::Binary:
        if (e.text == "&&" || e.text == "||" || e.text == "and" || e.text == "or")
            return logical(e, want);
        break;
    default:
        break;
    }
    value(e);
    discard(want);
}

void AsCodegen::value(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::Number: out().pushNumber(e.number); return;
    case ExprKind::String: out().pushString(e.text); return;
    case ExprKind::Boolean: out().push(PushValue(e.boolean)); return;
    case ExprKind::Null: out().push(Null); return;
    case ExprKind::Undefined: out().push(Undefined); return;
    case ExprKind::Identifier: readIdentifier(e.text); return;
    case ExprKind::This: pushThis(); return;
    case ExprKind::Super: pushSuper(); return;
    case ExprKind::Member:
        value(*e.kids[0]);
        out().pushString(e.text);
        (void)out().ops().getMember();
        return;
    case ExprKind::Index:
        value(*e.kids[0]);
        value(*e.kids[1]);
        (void)out().ops().getMember();
        return;
    case ExprKind::New: construct(e); return;
    case ExprKind::Binary:
        if (e.text == "&&" || e.text == "||" || e.text == "and" || e.text == "or")
            return logical(e, Want::Value);
        binary(e);
        return;
    case ExprKind::Array:
        for (size_t i = e.kids.size(); i-- > 0;)
            value(*e.kids[i]);
        out().pushNumber(static_cast<double>(e.kids.size()));
        (void)out().ops().initArray();
        return;
    case ExprKind::Object:
        for (size_t i = e.kids.size(); i-- > 0;) {
            out().pushString(e.names[i]);
            value(*e.kids[i]);
        }
        out().pushNumber(static_cast<double>(e.kids.size()));
        (void)out().ops().initObject();
        return;
    case ExprKind::FunctionExpr: defineFunction(*e.function, nullptr); return;
    default:
        expr(e, Want::Value);
        return;
    }
}

void AsCodegen::assign(const Expr& e, Want want)
{
    LValue lv = lvalue(*e.kids[0]);
    const bool compound = e.text != "=";
    beginStore(lv, compound);
    if (compound) {
        load(lv);
        value(*e.kids[1]);
        binaryOp(e.text.substr(0, e.text.size() - 1));
    } else {
        value(*e.kids[1]);
    }
    endStore(lv, want);
}

void AsCodegen::increment(const Expr& e, Want want)
{
    const bool up = e.kind == ExprKind::PreIncrement || e.kind == ExprKind::PostIncrement;
    const bool post = e.kind == ExprKind::PostIncrement || e.kind == ExprKind::PostDecrement;
    LValue lv = lvalue(*e.kids[0]);
    beginStore(lv, true);
    load(lv);
    // A postfix value is the old one, kept in register 0 while the new one is stored.
    const bool keepOld = post && want == Want::Value;
    if (keepOld)
        (void)out().ops().storeRegister(0);
    auto& ops = out().ops();
    up ? ops.increment() : ops.decrement();
    endStore(lv, keepOld ? Want::Nothing : want);
    if (keepOld)
        out().push(reg(0));
}

void AsCodegen::pushArguments(const Expr& e, size_t first)
{
    for (size_t i = e.kids.size(); i-- > first;)
        value(*e.kids[i]);
    out().pushNumber(static_cast<double>(e.kids.size() - first));
}

void AsCodegen::call(const Expr& e, Want want)
{
    const Expr& callee = *e.kids[0];
    const bool global = callee.kind == ExprKind::Identifier && resolve(callee.text).kind == NameKind::Variable;
    if (global && compileBuiltinCall(*this, e, want))
        return;
    pushArguments(e, 1);
    if (callee.kind == ExprKind::Identifier) {
        const Name n = resolve(callee.text);
        if (n.kind == NameKind::Variable) {
            out().pushString(callee.text);
            (void)out().ops().callFunction();
            return discard(want);
        }
        if (n.kind == NameKind::Register) {
            out().push(reg(n.reg));
            out().push(Undefined);
        } else {
            LValue lv = lvalue(callee);
            pushOwner(lv);
            out().pushString(callee.text);
        }
    } else if (callee.kind == ExprKind::Member) {
        value(*callee.kids[0]);
        out().pushString(callee.text);
    } else if (callee.kind == ExprKind::Index) {
        value(*callee.kids[0]);
        value(*callee.kids[1]);
    } else {
        // super(...) and any other function value: a method call without a name calls the object itself.
        value(callee);
        out().push(Undefined);
    }
    (void)out().ops().callMethod();
    discard(want);
}

void AsCodegen::construct(const Expr& e)
{
    const Expr& callee = *e.kids[0];
    pushArguments(e, 1);
    if (callee.kind == ExprKind::Identifier && resolve(callee.text).kind == NameKind::Variable) {
        out().pushString(callee.text);
        (void)out().ops().newObject();
        return;
    }
    if (callee.kind == ExprKind::Member) {
        value(*callee.kids[0]);
        out().pushString(callee.text);
    } else if (callee.kind == ExprKind::Index) {
        value(*callee.kids[0]);
        value(*callee.kids[1]);
    } else {
        value(callee);
        out().push(Undefined);
    }
    (void)out().ops().newMethod();
}

void AsCodegen::unary(const Expr& e, Want want)
{
    const Expr& operand = *e.kids[0];
    const std::string& op = e.text;
    auto& o = out();
    if (op == "-" && operand.kind == ExprKind::Number) {
        o.pushNumber(-operand.number);
    } else if (op == "-") {
        o.pushNumber(0);
        value(operand);
        (void)o.ops().subtract();
    } else if (op == "+") {
        value(operand);
        (void)o.ops().toNumber();
    } else if (op == "!" || op == "not") {
        value(operand);
        (void)o.ops().notOp();
    } else if (op == "~") {
        value(operand);
        o.push(PushValue(4294967295.0));
        (void)o.ops().bitXor();
    } else if (op == "typeof") {
        value(operand);
        (void)o.ops().typeOf();
    } else if (op == "void") {
        expr(operand, Want::Nothing);
        o.push(Undefined);
    } else if (op == "delete") {
        if (operand.kind == ExprKind::Identifier) {
            o.pushString(operand.text);
            (void)o.ops().delete2();
        } else if (operand.kind == ExprKind::Member || operand.kind == ExprKind::Index) {
            value(*operand.kids[0]);
            if (operand.kind == ExprKind::Member)
                o.pushString(operand.text);
            else
                value(*operand.kids[1]);
            (void)o.ops().deleteOp();
        } else {
            expr(operand, Want::Nothing);
            o.push(PushValue(true));
        }
    }
    discard(want);
}

void AsCodegen::binary(const Expr& e)
{
    const std::string& op = e.text;
    // SWF 4 has no StackSwap: a > b is compiled as b < a.
    if (swfVersion() < 5 && (op == ">" || op == "<=" || op == "gt" || op == "le")) {
        value(*e.kids[1]);
        value(*e.kids[0]);
        auto& ops = out().ops();
        op == ">" || op == "<=" ? ops.less() : ops.stringLess();
        if (op == "<=" || op == "le")
            ops.notOp();
        return;
    }
    value(*e.kids[0]);
    value(*e.kids[1]);
    binaryOp(op);
}

void AsCodegen::binaryOp(const std::string& op)
{
    auto& a = out().ops();
    const int v = swfVersion();
    const auto greater = [&] { v >= 6 ? a.greater() : a.stackSwap().less2(); };
    if (op == "+") v < 5 ? a.add() : a.add2();
    else if (op == "-") a.subtract();
    else if (op == "*") a.multiply();
    else if (op == "/") a.divide();
    else if (op == "%") a.modulo();
    else if (op == "<") v < 5 ? a.less() : a.less2();
    else if (op == ">") greater();
    else if (op == "<=") { greater(); a.notOp(); }
    else if (op == ">=") { v < 5 ? a.less() : a.less2(); a.notOp(); }
    else if (op == "==") v < 5 ? a.equals() : a.equals2();
    else if (op == "!=") { v < 5 ? a.equals() : a.equals2(); a.notOp(); }
    else if (op == "===") a.strictEquals();
    else if (op == "!==") a.strictEquals().notOp();
    else if (op == "&") a.bitAnd();
    else if (op == "|") a.bitOr();
    else if (op == "^") a.bitXor();
    else if (op == "<<") a.bitLShift();
    else if (op == ">>") a.bitRShift();
    else if (op == ">>>") a.bitURShift();
    else if (op == "instanceof") a.instanceOf();
    else if (op == "add") a.stringAdd();
    else if (op == "eq") a.stringEquals();
    else if (op == "ne") a.stringEquals().notOp();
    else if (op == "lt") a.stringLess();
    else if (op == "ge") a.stringLess().notOp();
    else if (op == "gt") v >= 6 ? a.stringGreater() : a.stackSwap().stringLess();
    else if (op == "le") { v >= 6 ? a.stringGreater() : a.stackSwap().stringLess(); a.notOp(); }
    else throw std::logic_error("no action for operator " + op);
}

void AsCodegen::logical(const Expr& e, Want want)
{
    const bool isAnd = e.text == "&&" || e.text == "and";
    if (swfVersion() < 5) {
        // SWF 4 has no PushDuplicate: both sides are evaluated, the result is 0 or 1.
        value(*e.kids[0]);
        value(*e.kids[1]);
        isAnd ? out().ops().andOp() : out().ops().orOp();
        return discard(want);
    }
    const Label end = out().newLabel();
    value(*e.kids[0]);
    if (want == Want::Value)
        (void)out().ops().pushDuplicate();
    if (isAnd)
        (void)out().ops().notOp();
    (void)out().ops().ifOp(end);
    if (want == Want::Value)
        (void)out().ops().pop();
    expr(*e.kids[1], want);
    out().bind(end);
}

void AsCodegen::conditional(const Expr& e, Want want)
{
    const Label whenTrue = out().newLabel();
    const Label end = out().newLabel();
    value(*e.kids[0]);
    (void)out().ops().ifOp(whenTrue);
    expr(*e.kids[2], want);
    (void)out().ops().jump(end);
    out().bind(whenTrue);
    expr(*e.kids[1], want);
    out().bind(end);
}

void AsCodegen::defineFunction(Function& f, const ClassScope* cls)
{
    const bool registers = m_settings.registers && m_settings.swfVersion >= 7;
    FunctionPlan plan = planFunction(f, registers, cls);
    const uint16_t flags = plan.flags;
    const auto params = plan.params;
    AsCodegen body(m_pool, m_settings, std::move(plan), cls, f.isMethod);
    body.statements(f.body);
    if (!registers) {
        (void)out().ops().defineFunction(f.name, f.params, body.finish());
        return;
    }
    (void)out().ops().defineFunction2(f.name, body.registerCount(), flags, params, body.finish());
}

} // namespace swfw::as
