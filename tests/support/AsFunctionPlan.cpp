// A function's names in registers. A name stays a variable when a nested
// function may see it (closures look names up by scope) or when the body can
// reach variables by name at run time (with, eval, set).
#include "AsFunctionPlan.h"

namespace swfw::as {

namespace {

struct Usage {
    std::set<std::string> identifiers;       // read or written in the body itself
    std::set<std::string> nestedIdentifiers; // anywhere in nested functions
    std::vector<std::string> locals;         // var, for-in var and catch names, in order
    std::set<std::string> functionNames;     // nested function declarations
    bool usesThis = false;
    bool usesSuper = false;
    bool dynamicNames = false; // with, eval or set
    bool callsSuperConstructor = false;
};

class UsageWalker {
public:
    explicit UsageWalker(Usage& usage) : m_usage(usage) {}

    void statements(const StmtList& list)
    {
        for (const auto& s : list)
            statement(s.get());
    }

    void statement(const Stmt* s)
    {
        if (!s)
            return;
        switch (s->kind) {
        case StmtKind::Var:
            for (const auto& n : s->names)
                local(n);
            break;
        case StmtKind::ForIn:
            if (s->isVar)
                local(s->names[0]);
            else
                m_usage.identifiers.insert(s->names[0]);
            break;
        case StmtKind::Try:
            if (!s->names[0].empty() && s->body[1])
                local(s->names[0]);
            break;
        case StmtKind::FunctionDecl:
            m_usage.functionNames.insert(s->function->name);
            nested(*s->function);
            return;
        case StmtKind::With:
            m_usage.dynamicNames = true;
            break;
        case StmtKind::Expression:
            if (s->expr->kind == ExprKind::Call && s->expr->kids[0]->kind == ExprKind::Super)
                m_usage.callsSuperConstructor = true;
            break;
        default:
            break;
        }
        expr(s->expr.get());
        expr(s->update.get());
        statement(s->init.get());
        for (const auto& e : s->inits)
            expr(e.get());
        for (const auto& b : s->body)
            statement(b.get());
        for (const auto& c : s->cases) {
            expr(c.test.get());
            statements(c.body);
        }
        statements(s->block);
    }

    void expr(const Expr* e)
    {
        if (!e)
            return;
        switch (e->kind) {
        case ExprKind::Identifier:
            m_usage.identifiers.insert(e->text);
            break;
        case ExprKind::This:
            m_usage.usesThis = true;
            break;
        case ExprKind::Super:
            m_usage.usesSuper = true;
            break;
        case ExprKind::Call:
            if (e->kids[0]->kind == ExprKind::Identifier && (e->kids[0]->text == "eval" || e->kids[0]->text == "set"))
                m_usage.dynamicNames = true;
            break;
        case ExprKind::FunctionExpr:
            nested(*e->function);
            return;
        default:
            break;
        }
        for (const auto& k : e->kids)
            expr(k.get());
    }

private:
    void local(const std::string& name)
    {
        for (const auto& l : m_usage.locals)
            if (l == name)
                return;
        m_usage.locals.push_back(name);
    }

    void nested(const Function& f)
    {
        Usage inner;
        UsageWalker walker(inner);
        walker.statements(f.body);
        m_usage.nestedIdentifiers.insert(inner.identifiers.begin(), inner.identifiers.end());
        m_usage.nestedIdentifiers.insert(inner.nestedIdentifiers.begin(), inner.nestedIdentifiers.end());
        m_usage.nestedIdentifiers.insert(f.params.begin(), f.params.end());
    }

    Usage& m_usage;
};

// Preloaded values take the first registers, in the order the player fills them.
void preload(FunctionPlan& plan, const std::string& name, bool used, uint16_t preloadFlag, uint16_t suppressFlag)
{
    if (!used) {
        plan.flags |= suppressFlag;
        return;
    }
    plan.flags |= preloadFlag;
    plan.registerOf[name] = plan.nextRegister++;
}

} // namespace

FunctionPlan planFunction(const Function& f, bool useRegisters, const ClassScope* cls)
{
    Usage usage;
    UsageWalker(usage).statements(f.body);

    FunctionPlan plan;
    plan.registers = useRegisters;
    plan.callsSuperConstructor = usage.callsSuperConstructor;
    plan.declared.insert(f.params.begin(), f.params.end());
    plan.declared.insert(usage.locals.begin(), usage.locals.end());
    plan.declared.insert(usage.functionNames.begin(), usage.functionNames.end());
    if (!useRegisters) {
        for (const auto& p : f.params)
            plan.params.push_back({0, p});
        return plan;
    }

    bool usesThis = usage.usesThis;
    if (cls && f.isMethod) {
        for (const auto& id : usage.identifiers)
            usesThis |= cls->instanceMembers.contains(id) && !plan.declared.contains(id);
    }
    const auto uses = [&](const char* name) { return usage.identifiers.contains(name) && !plan.declared.contains(name); };
    preload(plan, "this", usesThis, function2::PreloadThis, function2::SuppressThis);
    preload(plan, "arguments", uses("arguments"), function2::PreloadArguments, function2::SuppressArguments);
    preload(plan, "super", usage.usesSuper, function2::PreloadSuper, function2::SuppressSuper);
    preload(plan, "_root", uses("_root"), function2::PreloadRoot, 0);
    preload(plan, "_parent", uses("_parent"), function2::PreloadParent, 0);
    preload(plan, "_global", uses("_global"), function2::PreloadGlobal, 0);

    const auto fitsRegister = [&](const std::string& name) {
        return !usage.dynamicNames && !usage.nestedIdentifiers.contains(name) && !usage.functionNames.contains(name)
            && !plan.registerOf.contains(name) && plan.nextRegister < 255;
    };
    for (const auto& p : f.params) {
        const bool inRegister = fitsRegister(p);
        plan.params.push_back({static_cast<uint8_t>(inRegister ? plan.nextRegister : 0), p});
        if (inRegister)
            plan.registerOf[p] = plan.nextRegister++;
    }
    for (const auto& l : usage.locals) {
        if (fitsRegister(l) && !plan.registerOf.contains(l))
            plan.registerOf[l] = plan.nextRegister++;
    }
    return plan;
}

} // namespace swfw::as
