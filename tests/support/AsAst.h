// The syntax tree the ActionScript compiler's parser builds and its code generator walks.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace swfw::as {

struct SourcePos {
    int line = 1;
    int column = 1;
};

struct Function;
struct Stmt;
using StmtList = std::vector<std::unique_ptr<Stmt>>;

enum class ExprKind {
    Number, String, Boolean, Null, Undefined,
    Identifier,   // text
    This, Super,
    Member,       // kids[0].text
    Index,        // kids[0][kids[1]]
    Call,         // kids[0](kids[1..])
    New,          // new kids[0](kids[1..])
    Unary,        // op kids[0]: - + ! ~ typeof void delete not
    Binary,       // kids[0] op kids[1], && and || included
    Conditional,  // kids[0] ? kids[1] : kids[2]
    Assign,       // kids[0] op kids[1]; op is "=" or a compound "+=" ...
    PreIncrement, PreDecrement, PostIncrement, PostDecrement,
    Array,        // kids are the elements
    Object,       // names[i]: kids[i]
    FunctionExpr, // function
};

struct Expr {
    ExprKind kind = ExprKind::Undefined;
    SourcePos pos;
    std::string text; // identifier, member name, string value or operator
    double number = 0;
    bool boolean = false;
    std::vector<std::unique_ptr<Expr>> kids;
    std::vector<std::string> names;
    std::shared_ptr<Function> function;
};
using ExprPtr = std::unique_ptr<Expr>;

enum class StmtKind {
    Expression,   // expr
    Var,          // names[i] = inits[i] (null when absent)
    FunctionDecl, // function
    Return,       // expr, may be null
    If,           // expr, body[0] then, body[1] else (may be null)
    While, DoWhile,
    For,          // init (stmt, may be null), expr (condition), update, body[0]
    ForIn,        // names[0] the variable (declared when isVar), expr the object, body[0]
    Break, Continue,
    Switch,       // expr; cases[i] with their statements
    Try,          // body[0] try, body[1] catch (may be null), body[2] finally (may be null); names[0] catch variable
    Throw,        // expr
    With,         // expr, body[0]
    Block,        // block
    Empty,
    TellTarget,   // expr, body[0]
    IfFrameLoaded,// expr, body[0]
    Class,        // classDef
};

struct SwitchCase {
    std::unique_ptr<Expr> test; // null for default
    StmtList body;
};

struct ClassMember {
    enum class Kind { Var, Method } kind = Kind::Var;
    bool isStatic = false;
    std::string name;
    std::unique_ptr<Expr> init;         // Var
    std::shared_ptr<Function> function; // Method
};

struct ClassDef {
    bool isInterface = false;
    std::vector<std::string> path;      // package parts then the name
    std::vector<std::string> superPath; // empty when it extends nothing
    std::vector<std::vector<std::string>> interfaces;
    std::vector<ClassMember> members;
    std::shared_ptr<Function> constructor; // null when the class declares none
};

struct Stmt {
    StmtKind kind = StmtKind::Empty;
    SourcePos pos;
    std::unique_ptr<Expr> expr;
    std::unique_ptr<Expr> update;
    std::unique_ptr<Stmt> init;
    std::vector<std::unique_ptr<Stmt>> body;
    std::vector<std::string> names;
    std::vector<std::unique_ptr<Expr>> inits;
    std::vector<SwitchCase> cases;
    StmtList block;
    bool isVar = false;
    std::shared_ptr<Function> function;
    std::unique_ptr<ClassDef> classDef;
};
using StmtPtr = std::unique_ptr<Stmt>;

struct Function {
    std::string name; // empty for expressions
    std::vector<std::string> params;
    StmtList body;
    SourcePos pos;
    bool isMethod = false; // a class method or constructor: `super` and members resolve through it
};

} // namespace swfw::as
