// A class becomes: its packages made under _global, then, unless the class
// exists already, the constructor stored at _global.path (and in register 1),
// Extends, the prototype in register 2, ImplementsOp, methods and initialised
// properties set on prototype or constructor, and the prototype hidden from for..in.
#include "AsClasses.h"

namespace swfw::as {

namespace {

// _global and then `count` parts of the path as members.
void pushGlobalPath(AsCodegen& g, const std::vector<std::string>& path, size_t count)
{
    g.out().pushString("_global");
    (void)g.out().ops().getVariable();
    for (size_t i = 0; i < count; ++i) {
        g.out().pushString(path[i]);
        (void)g.out().ops().getMember();
    }
}

// if (!_global.path) — the double Not is how the compiler writes a negated test.
Label skipIfDefined(AsCodegen& g, const std::vector<std::string>& path, size_t count)
{
    const Label skip = g.out().newLabel();
    pushGlobalPath(g, path, count);
    (void)g.out().ops().notOp().notOp().ifOp(skip);
    return skip;
}

void createPackages(AsCodegen& g, const std::vector<std::string>& path)
{
    for (size_t n = 1; n < path.size(); ++n) {
        const Label skip = skipIfDefined(g, path, n);
        pushGlobalPath(g, path, n - 1);
        g.out().pushString(path[n - 1]);
        g.out().pushNumber(0);
        g.out().pushString("Object");
        (void)g.out().ops().newObject().setMember();
        g.out().bind(skip);
    }
}

bool callsSuperConstructor(const Function& f)
{
    for (const auto& s : f.body)
        if (s->kind == StmtKind::Expression && s->expr->kind == ExprKind::Call && s->expr->kids[0]->kind == ExprKind::Super)
            return true;
    return false;
}

void prependSuperCall(Function& f)
{
    auto callee = std::make_unique<Expr>();
    callee->kind = ExprKind::Super;
    auto call = std::make_unique<Expr>();
    call->kind = ExprKind::Call;
    call->kids.push_back(std::move(callee));
    auto s = std::make_unique<Stmt>();
    s->kind = StmtKind::Expression;
    s->expr = std::move(call);
    f.body.insert(f.body.begin(), std::move(s));
}

ClassScope scopeOf(const ClassDef& def)
{
    ClassScope scope;
    scope.path = def.path;
    for (const auto& m : def.members)
        (m.isStatic ? scope.staticMembers : scope.instanceMembers).insert(m.name);
    return scope;
}

// Sets one member on the constructor (register 1) or the prototype (register 2).
void setMember(AsCodegen& g, ClassMember& m, const ClassScope& scope)
{
    if (m.kind == ClassMember::Kind::Var && !m.init)
        return; // declared for the compiler's checks only
    g.out().push(reg(m.isStatic ? 1 : 2));
    g.out().pushString(m.name);
    if (m.kind == ClassMember::Kind::Method)
        g.defineFunction(*m.function, &scope);
    else
        g.expr(*m.init, Want::Value);
    (void)g.out().ops().setMember();
}

void compileInterface(AsCodegen& g, const ClassDef& def)
{
    createPackages(g, def.path);
    const Label skip = skipIfDefined(g, def.path, def.path.size());
    pushGlobalPath(g, def.path, def.path.size() - 1);
    g.out().pushString(def.path.back());
    Function empty;
    g.defineFunction(empty, nullptr);
    (void)g.out().ops().setMember();
    g.out().bind(skip);
}

} // namespace

void compileClass(AsCodegen& g, ClassDef& def)
{
    if (def.isInterface)
        return compileInterface(g, def);
    const ClassScope scope = scopeOf(def);
    createPackages(g, def.path);
    const Label skip = skipIfDefined(g, def.path, def.path.size());

    auto constructor = def.constructor ? def.constructor : std::make_shared<Function>();
    constructor->isMethod = true;
    if (!def.superPath.empty() && !callsSuperConstructor(*constructor))
        prependSuperCall(*constructor);
    pushGlobalPath(g, def.path, def.path.size() - 1);
    g.out().pushString(def.path.back());
    g.defineFunction(*constructor, &scope);
    (void)g.out().ops().storeRegister(1).setMember();

    if (!def.superPath.empty()) {
        g.out().push(reg(1));
        g.pushPath(def.superPath, def.superPath.size());
        (void)g.out().ops().extends();
    }
    g.out().push(reg(1));
    g.out().pushString("prototype");
    (void)g.out().ops().getMember().storeRegister(2).pop();
    if (!def.interfaces.empty()) {
        for (const auto& i : def.interfaces)
            g.pushPath(i, i.size());
        g.out().pushNumber(static_cast<double>(def.interfaces.size()));
        g.out().push(reg(1));
        (void)g.out().ops().implementsOp();
    }
    for (auto& m : def.members)
        setMember(g, m, scope);

    // ASSetPropFlags(prototype, null, 1): methods and properties stay out of for..in.
    g.out().pushNumber(1);
    g.out().push(Null);
    g.out().push(reg(2));
    g.out().pushNumber(3);
    g.out().pushString("ASSetPropFlags");
    (void)g.out().ops().callFunction().pop();
    g.out().bind(skip);
}

} // namespace swfw::as
