// Recursive descent over the token list: statements, expressions by precedence,
// AS2 classes and interfaces. Type annotations are read and dropped; a missing
// semicolon is forgiven before a line break, a closing brace or the end.
#include "AsParser.h"

#include "AsLexer.h"

#include <array>

namespace swfw::as {

namespace {

struct BinaryLevel {
    std::initializer_list<std::string_view> ops;
};

// Binary operators from the loosest to the tightest; && and || are handled like the rest.
const std::array<BinaryLevel, 10> kBinaryLevels = {{
    {{"||", "or"}},
    {{"&&", "and"}},
    {{"|"}},
    {{"^"}},
    {{"&"}},
    {{"==", "!=", "===", "!==", "eq", "ne"}},
    {{"<", ">", "<=", ">=", "instanceof", "lt", "gt", "le", "ge"}},
    {{"<<", ">>", ">>>"}},
    {{"+", "-", "add"}},
    {{"*", "/", "%"}},
}};

constexpr std::array kAssignOps = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>=", ">>>="};

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    StmtList program()
    {
        StmtList out;
        while (peek().kind != TokenKind::End)
            out.push_back(statement());
        return out;
    }

private:
    // Token access.
    [[nodiscard]] const Token& peek(size_t ahead = 0) const
    {
        return m_tokens[std::min(m_at + ahead, m_tokens.size() - 1)];
    }
    const Token& take() { return m_tokens[m_at < m_tokens.size() - 1 ? m_at++ : m_at]; }
    [[nodiscard]] bool is(std::string_view text, size_t ahead = 0) const
    {
        const Token& t = peek(ahead);
        return (t.kind == TokenKind::Punctuator || t.kind == TokenKind::Keyword) && t.text == text;
    }
    [[nodiscard]] bool isWord(std::string_view text) const
    {
        return peek().kind == TokenKind::Identifier && peek().text == text;
    }
    bool accept(std::string_view text)
    {
        if (!is(text))
            return false;
        take();
        return true;
    }
    const Token& expect(std::string_view text)
    {
        if (!is(text))
            fail("expected '" + std::string(text) + "'");
        return take();
    }
    [[noreturn]] void fail(const std::string& message) const
    {
        const Token& t = peek();
        const std::string seen = t.kind == TokenKind::End ? "the end" : "'" + t.text + "'";
        syntaxError(t.pos, message + " but found " + seen);
    }
    std::string identifier()
    {
        if (peek().kind != TokenKind::Identifier)
            fail("expected a name");
        return take().text;
    }
    // A name after a dot or as an object key may be a keyword.
    std::string propertyName()
    {
        if (peek().kind != TokenKind::Identifier && peek().kind != TokenKind::Keyword)
            fail("expected a property name");
        return take().text;
    }
    std::vector<std::string> dottedPath()
    {
        std::vector<std::string> path{identifier()};
        while (accept("."))
            path.push_back(is("*") ? take().text : identifier());
        return path;
    }
    void skipTypeAnnotation()
    {
        if (accept(":"))
            dottedPath();
    }
    void endStatement()
    {
        if (accept(";") || is("}") || peek().kind == TokenKind::End || peek().newlineBefore)
            return;
        fail("expected ';'");
    }

    static StmtPtr makeStmt(StmtKind kind, SourcePos pos)
    {
        auto s = std::make_unique<Stmt>();
        s->kind = kind;
        s->pos = pos;
        return s;
    }
    static ExprPtr makeExpr(ExprKind kind, SourcePos pos, std::string text = {})
    {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->pos = pos;
        e->text = std::move(text);
        return e;
    }

    // Statements.
    StmtPtr statement()
    {
        const SourcePos pos = peek().pos;
        if (is("{")) {
            auto s = makeStmt(StmtKind::Block, pos);
            s->block = block();
            return s;
        }
        if (accept(";"))
            return makeStmt(StmtKind::Empty, pos);
        if (is("var")) {
            auto s = varDeclaration();
            endStatement();
            return s;
        }
        if (is("function") && peek(1).kind == TokenKind::Identifier) {
            take();
            auto s = makeStmt(StmtKind::FunctionDecl, pos);
            s->function = function(pos, identifier());
            return s;
        }
        if (accept("if"))
            return ifStatement(pos);
        if (accept("while")) {
            auto s = makeStmt(StmtKind::While, pos);
            s->expr = parenExpression();
            s->body.push_back(statement());
            return s;
        }
        if (accept("do")) {
            auto s = makeStmt(StmtKind::DoWhile, pos);
            s->body.push_back(statement());
            expect("while");
            s->expr = parenExpression();
            endStatement();
            return s;
        }
        if (accept("for"))
            return forStatement(pos);
        if (is("break") || is("continue")) {
            auto s = makeStmt(take().text == "break" ? StmtKind::Break : StmtKind::Continue, pos);
            endStatement();
            return s;
        }
        if (accept("return")) {
            auto s = makeStmt(StmtKind::Return, pos);
            if (!is(";") && !is("}") && peek().kind != TokenKind::End && !peek().newlineBefore)
                s->expr = expression();
            endStatement();
            return s;
        }
        if (accept("switch"))
            return switchStatement(pos);
        if (accept("try"))
            return tryStatement(pos);
        if (accept("throw")) {
            auto s = makeStmt(StmtKind::Throw, pos);
            s->expr = expression();
            endStatement();
            return s;
        }
        if (accept("with")) {
            auto s = makeStmt(StmtKind::With, pos);
            s->expr = parenExpression();
            s->body.push_back(statement());
            return s;
        }
        if (accept("import")) {
            dottedPath(); // classes are found at run time through _global
            endStatement();
            return makeStmt(StmtKind::Empty, pos);
        }
        if (is("class") || is("interface") || ((isWord("dynamic") || isWord("intrinsic")) && is("class", 1)))
            return classDeclaration(pos);
        if ((isWord("tellTarget") || isWord("ifFrameLoaded")) && is("(", 1)) {
            auto s = makeStmt(take().text == "tellTarget" ? StmtKind::TellTarget : StmtKind::IfFrameLoaded, pos);
            s->expr = parenExpression();
            s->body.push_back(statement());
            return s;
        }
        auto s = makeStmt(StmtKind::Expression, pos);
        s->expr = expression();
        endStatement();
        return s;
    }

    StmtList block()
    {
        expect("{");
        StmtList out;
        while (!is("}")) {
            if (peek().kind == TokenKind::End)
                fail("expected '}'");
            out.push_back(statement());
        }
        take();
        return out;
    }

    ExprPtr parenExpression()
    {
        expect("(");
        auto e = expression();
        expect(")");
        return e;
    }

    StmtPtr varDeclaration()
    {
        auto s = makeStmt(StmtKind::Var, peek().pos);
        expect("var");
        do {
            s->names.push_back(identifier());
            skipTypeAnnotation();
            s->inits.push_back(accept("=") ? assignment() : nullptr);
        } while (accept(","));
        return s;
    }

    StmtPtr ifStatement(SourcePos pos)
    {
        auto s = makeStmt(StmtKind::If, pos);
        s->expr = parenExpression();
        s->body.push_back(statement());
        s->body.push_back(accept("else") ? statement() : nullptr);
        return s;
    }

    StmtPtr forStatement(SourcePos pos)
    {
        expect("(");
        // for (var k in o) and for (k in o)
        const bool declares = is("var");
        const size_t nameAt = declares ? 1 : 0;
        if (peek(nameAt).kind == TokenKind::Identifier && is("in", nameAt + 1)) {
            auto s = makeStmt(StmtKind::ForIn, pos);
            s->isVar = declares;
            if (declares)
                take();
            s->names.push_back(identifier());
            expect("in");
            s->expr = expression();
            expect(")");
            s->body.push_back(statement());
            return s;
        }
        auto s = makeStmt(StmtKind::For, pos);
        if (is("var")) {
            s->init = varDeclaration();
        } else if (!is(";")) {
            s->init = makeStmt(StmtKind::Expression, peek().pos);
            s->init->expr = expression();
        }
        expect(";");
        if (!is(";"))
            s->expr = expression();
        expect(";");
        if (!is(")"))
            s->update = expression();
        expect(")");
        s->body.push_back(statement());
        return s;
    }

    StmtPtr switchStatement(SourcePos pos)
    {
        auto s = makeStmt(StmtKind::Switch, pos);
        s->expr = parenExpression();
        expect("{");
        bool sawDefault = false;
        while (!accept("}")) {
            SwitchCase c;
            if (accept("case")) {
                c.test = expression();
            } else if (is("default")) {
                if (sawDefault)
                    syntaxError(peek().pos, "a switch has only one default");
                take();
                sawDefault = true;
            } else {
                fail("expected 'case', 'default' or '}'");
            }
            expect(":");
            while (!is("case") && !is("default") && !is("}")) {
                if (peek().kind == TokenKind::End)
                    fail("expected '}'");
                c.body.push_back(statement());
            }
            s->cases.push_back(std::move(c));
        }
        return s;
    }

    StmtPtr blockStatement()
    {
        auto s = makeStmt(StmtKind::Block, peek().pos);
        s->block = block();
        return s;
    }

    StmtPtr tryStatement(SourcePos pos)
    {
        auto s = makeStmt(StmtKind::Try, pos);
        s->body.push_back(blockStatement());
        s->body.push_back(nullptr);
        s->body.push_back(nullptr);
        s->names.emplace_back();
        if (accept("catch")) {
            expect("(");
            s->names[0] = identifier();
            skipTypeAnnotation();
            expect(")");
            s->body[1] = blockStatement();
        }
        if (accept("finally"))
            s->body[2] = blockStatement();
        if (!s->body[1] && !s->body[2])
            fail("expected 'catch' or 'finally'");
        return s;
    }

    std::shared_ptr<Function> function(SourcePos pos, std::string name)
    {
        auto f = std::make_shared<Function>();
        f->name = std::move(name);
        f->pos = pos;
        expect("(");
        if (!is(")")) {
            do {
                f->params.push_back(identifier());
                skipTypeAnnotation();
            } while (accept(","));
        }
        expect(")");
        skipTypeAnnotation();
        f->body = block();
        return f;
    }

    // Classes and interfaces.
    StmtPtr classDeclaration(SourcePos pos)
    {
        while (isWord("dynamic") || isWord("intrinsic"))
            take();
        auto def = std::make_unique<ClassDef>();
        def->isInterface = is("interface");
        if (!accept("class") && !accept("interface"))
            fail("expected 'class'");
        def->path = dottedPath();
        if (accept("extends"))
            def->superPath = dottedPath();
        if (accept("implements")) {
            do
                def->interfaces.push_back(dottedPath());
            while (accept(","));
        }
        expect("{");
        while (!accept("}")) {
            if (peek().kind == TokenKind::End)
                fail("expected '}'");
            classMember(*def);
        }
        auto s = makeStmt(StmtKind::Class, pos);
        s->classDef = std::move(def);
        return s;
    }

    void classMember(ClassDef& def)
    {
        ClassMember m;
        while (isWord("public") || isWord("private") || isWord("static")) {
            if (take().text == "static")
                m.isStatic = true;
        }
        const SourcePos pos = peek().pos;
        if (accept("var")) {
            m.name = identifier();
            skipTypeAnnotation();
            if (accept("="))
                m.init = assignment();
            endStatement();
            def.members.push_back(std::move(m));
            return;
        }
        expect("function");
        if ((isWord("get") || isWord("set")) && peek(1).kind == TokenKind::Identifier)
            syntaxError(peek().pos, "getter and setter methods are not supported");
        m.kind = ClassMember::Kind::Method;
        m.name = identifier();
        if (def.isInterface) {
            expect("(");
            while (!accept(")")) {
                if (peek().kind == TokenKind::End)
                    fail("expected ')'");
                take();
            }
            skipTypeAnnotation();
            endStatement();
            return; // an interface lists methods only for the compiler's checks
        }
        m.function = function(pos, std::string());
        m.function->isMethod = true;
        if (!m.isStatic && m.name == def.path.back()) {
            def.constructor = m.function;
            return;
        }
        def.members.push_back(std::move(m));
    }

    // Expressions.
    ExprPtr expression() { return assignment(); }

    ExprPtr assignment()
    {
        auto target = conditional();
        for (std::string_view op : kAssignOps) {
            if (!is(op))
                continue;
            const SourcePos pos = take().pos;
            if (target->kind != ExprKind::Identifier && target->kind != ExprKind::Member && target->kind != ExprKind::Index)
                syntaxError(target->pos, "cannot assign to this expression");
            auto e = makeExpr(ExprKind::Assign, pos, std::string(op));
            e->kids.push_back(std::move(target));
            e->kids.push_back(assignment());
            return e;
        }
        return target;
    }

    ExprPtr conditional()
    {
        auto test = binary(0);
        if (!is("?"))
            return test;
        auto e = makeExpr(ExprKind::Conditional, take().pos);
        e->kids.push_back(std::move(test));
        e->kids.push_back(assignment());
        expect(":");
        e->kids.push_back(assignment());
        return e;
    }

    ExprPtr binary(size_t level)
    {
        if (level == kBinaryLevels.size())
            return unary();
        auto left = binary(level + 1);
        while (true) {
            const std::string_view* match = nullptr;
            for (const std::string_view& op : kBinaryLevels[level].ops)
                if (is(op))
                    match = &op;
            if (!match)
                return left;
            auto e = makeExpr(ExprKind::Binary, take().pos, std::string(*match));
            e->kids.push_back(std::move(left));
            e->kids.push_back(binary(level + 1));
            left = std::move(e);
        }
    }

    ExprPtr unary()
    {
        const SourcePos pos = peek().pos;
        for (std::string_view op : {"!", "~", "-", "+", "typeof", "void", "delete", "not"}) {
            if (!is(op))
                continue;
            take();
            auto e = makeExpr(ExprKind::Unary, pos, std::string(op));
            e->kids.push_back(unary());
            return e;
        }
        if (is("++") || is("--")) {
            const bool up = take().text == "++";
            auto e = makeExpr(up ? ExprKind::PreIncrement : ExprKind::PreDecrement, pos);
            e->kids.push_back(checkedTarget(unary()));
            return e;
        }
        auto e = postfix(callOrMember(primary()));
        return e;
    }

    ExprPtr checkedTarget(ExprPtr e)
    {
        if (e->kind != ExprKind::Identifier && e->kind != ExprKind::Member && e->kind != ExprKind::Index)
            syntaxError(e->pos, "++ and -- need a variable or property");
        return e;
    }

    ExprPtr postfix(ExprPtr e)
    {
        if ((is("++") || is("--")) && !peek().newlineBefore) {
            const Token& t = take();
            auto p = makeExpr(t.text == "++" ? ExprKind::PostIncrement : ExprKind::PostDecrement, t.pos);
            p->kids.push_back(checkedTarget(std::move(e)));
            return p;
        }
        return e;
    }

    ExprPtr member(ExprPtr object)
    {
        const SourcePos pos = peek().pos;
        if (accept(".")) {
            auto e = makeExpr(ExprKind::Member, pos, propertyName());
            e->kids.push_back(std::move(object));
            return e;
        }
        expect("[");
        auto e = makeExpr(ExprKind::Index, pos);
        e->kids.push_back(std::move(object));
        e->kids.push_back(expression());
        expect("]");
        return e;
    }

    void arguments(Expr& call)
    {
        expect("(");
        if (!is(")")) {
            do
                call.kids.push_back(assignment());
            while (accept(","));
        }
        expect(")");
    }

    ExprPtr callOrMember(ExprPtr e)
    {
        while (is(".") || is("[") || is("(")) {
            if (is("(")) {
                auto call = makeExpr(ExprKind::Call, peek().pos);
                call->kids.push_back(std::move(e));
                arguments(*call);
                e = std::move(call);
            } else {
                e = member(std::move(e));
            }
        }
        return e;
    }

    ExprPtr newExpression(SourcePos pos)
    {
        auto e = makeExpr(ExprKind::New, pos);
        auto callee = primary();
        while (is(".") || is("["))
            callee = member(std::move(callee));
        e->kids.push_back(std::move(callee));
        if (is("("))
            arguments(*e);
        return e;
    }

    ExprPtr primary()
    {
        const Token& t = peek();
        const SourcePos pos = t.pos;
        switch (t.kind) {
        case TokenKind::Number: {
            auto e = makeExpr(ExprKind::Number, pos);
            e->number = take().number;
            return e;
        }
        case TokenKind::String:
            return makeExpr(ExprKind::String, pos, take().text);
        case TokenKind::Identifier:
            return makeExpr(ExprKind::Identifier, pos, take().text);
        case TokenKind::End:
            fail("expected an expression");
        default:
            break;
        }
        if (accept("true") || accept("false")) {
            auto e = makeExpr(ExprKind::Boolean, pos);
            e->boolean = m_tokens[m_at - 1].text == "true";
            return e;
        }
        if (accept("null"))
            return makeExpr(ExprKind::Null, pos);
        if (accept("undefined"))
            return makeExpr(ExprKind::Undefined, pos);
        if (accept("this"))
            return makeExpr(ExprKind::This, pos);
        if (accept("super"))
            return makeExpr(ExprKind::Super, pos);
        if (accept("new"))
            return newExpression(pos);
        if (accept("function")) {
            auto e = makeExpr(ExprKind::FunctionExpr, pos);
            // The name of a function expression is not bound by AVM1: dropped.
            if (peek().kind == TokenKind::Identifier)
                take();
            e->function = function(pos, std::string());
            return e;
        }
        if (accept("(")) {
            auto e = expression();
            expect(")");
            return e;
        }
        if (accept("["))
            return arrayLiteral(pos);
        if (accept("{"))
            return objectLiteral(pos);
        fail("expected an expression");
    }

    ExprPtr arrayLiteral(SourcePos pos)
    {
        auto e = makeExpr(ExprKind::Array, pos);
        if (!is("]")) {
            do
                e->kids.push_back(assignment());
            while (accept(","));
        }
        expect("]");
        return e;
    }

    ExprPtr objectLiteral(SourcePos pos)
    {
        auto e = makeExpr(ExprKind::Object, pos);
        if (!is("}")) {
            do {
                if (peek().kind == TokenKind::String) {
                    e->names.push_back(take().text);
                } else if (peek().kind == TokenKind::Number) {
                    const double n = take().number;
                    e->names.push_back(n == static_cast<int64_t>(n) ? std::to_string(static_cast<int64_t>(n)) : std::to_string(n));
                } else {
                    e->names.push_back(propertyName());
                }
                expect(":");
                e->kids.push_back(assignment());
            } while (accept(","));
        }
        expect("}");
        return e;
    }

    std::vector<Token> m_tokens;
    size_t m_at = 0;
};

} // namespace

StmtList parseProgram(std::string_view source)
{
    return Parser(tokenize(source)).program();
}

} // namespace swfw::as
