// The compiler: tokens to a resolved tree, one recursive-descent pass.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "Code/Code_Constant.h"
#include "Code/Code_Main.h"
#include "Code/Code_Tree.h"
#include "Code/Code_World.h"
#include "Code/Code_BuiltinTable.h"
#include "Script/Script_Main.h"
#include "Variable/Variable_BuiltIn.h"
#include "Variable/Variable_Main.h"

namespace {
// Bounds that keep the compiler's and the interpreter's native stacks small
// whatever the text: nesting of statements and brackets, and tree height.
constexpr int MAX_NESTING = 128;
constexpr int MAX_HEIGHT = 400;
// The height from which a run of operators of one level is evaluated in a loop.
constexpr int CHAIN_HEIGHT = 32;

struct CompileError {
  int line;
  std::string message;
};

class Parser {
 public:
  Parser(const std::vector<Token>& tokens) : m_tk(tokens) {}

  Node* Program(CodeUnit* unit) {
    std::vector<Node*>& list = unit->statements;
    while (Peek().kind != TK_EOF)
      if (Node* s = Statement()) list.push_back(s);
    unit->locals = static_cast<int>(m_locals.size());
    Tree_SetLine(1);
    Node* block = Tree_Block(list);
    list.push_back(nullptr);
    return block;
  }

  Node* ExpressionOnly() {
    Node* e = Expression();
    if (Peek().kind != TK_EOF) Fail("unexpected symbol " + Code_TokenText(Peek()) + " after the expression");
    return e;
  }

 private:
  const std::vector<Token>& m_tk;
  size_t m_pos = 0;
  int m_depth = 0;
  std::unordered_map<std::string, int> m_locals;

  struct Nest {
    Parser& p;
    explicit Nest(Parser& parser) : p(parser) {
      if (++p.m_depth > MAX_NESTING) p.Fail("code nested too deeply");
    }
    ~Nest() { --p.m_depth; }
  };

  const Token& Peek(size_t k = 0) const { return m_tk[std::min(m_pos + k, m_tk.size() - 1)]; }
  const Token& Next() {
    const Token& t = Peek();
    if (m_pos < m_tk.size() - 1) ++m_pos;
    return t;
  }
  bool Accept(TokenKind k) {
    if (Peek().kind != k) return false;
    Next();
    return true;
  }
  [[noreturn]] void Fail(const std::string& message) { throw CompileError{Peek().line, message}; }
  void Expect(TokenKind k, const char* what) {
    if (!Accept(k)) Fail(std::string("symbol ") + what + " expected, found " + Code_TokenText(Peek()));
  }
  const Token& ExpectName(const char* what) {
    if (Peek().kind != TK_NAME) Fail(std::string(what) + " expected, found " + Code_TokenText(Peek()));
    return Next();
  }
  // Records the height of a new node over its children.
  Node* Grown(Node* n, Node* a, Node* b = nullptr) {
    n->height = 1 + std::max(a ? a->height : 0, b ? b->height : 0);
    if (n->height > MAX_HEIGHT) Fail("expression too complex");
    return n;
  }

  // ------------------------------------------------------------ statements
  Node* Body() {
    Node* s = Statement();
    return s ? s : Tree_Block({});
  }

  Node* Statement() {
    Nest nest(*this);
    const Token& t = Peek();
    int line = t.line;
    Tree_SetLine(line);
    Node* s = nullptr;
    switch (t.kind) {
      case TK_SEMI:
        Next();
        return nullptr;
      case TK_LBRACE: {
        Next();
        std::vector<Node*> list;
        while (!Accept(TK_RBRACE)) {
          if (Peek().kind == TK_EOF) Fail("symbol } expected, found the end of the code");
          if (Node* inner = Statement()) list.push_back(inner);
        }
        s = Tree_Block(list);
        break;
      }
      case TK_VAR:
      case TK_GLOBALVAR: {
        Next();
        std::vector<int> ids;
        do {
          const std::string& name = ExpectName("variable name").text;
          if (t.kind == TK_VAR) {
            m_locals.emplace(name, static_cast<int>(m_locals.size()));
          } else {
            int id = Code_Variable_Find(name.c_str());
            if (id < VARIABLE_ID_USER) Fail("cannot declare the built-in variable " + name + " global");
            Variable_DeclareGlobal(id);
            ids.push_back(id);
          }
        } while (Accept(TK_COMMA));
        if (!ids.empty()) s = Tree_GlobalVarDecl(ids);
        break;
      }
      case TK_IF: {
        Next();
        Node* cond = Expression();
        Accept(TK_THEN);
        Node* then = Body();
        Node* otherwise = Accept(TK_ELSE) ? Body() : nullptr;
        Tree_SetLine(line);
        s = Tree_If(cond, then, otherwise);
        break;
      }
      case TK_WHILE: {
        Next();
        Node* cond = Expression();
        Node* body = Body();
        Tree_SetLine(line);
        s = Tree_While(cond, body);
        break;
      }
      case TK_DO: {
        Next();
        Node* body = Body();
        Expect(TK_UNTIL, "until");
        Node* cond = Expression();
        Tree_SetLine(line);
        s = Tree_DoUntil(body, cond);
        break;
      }
      case TK_FOR: {
        Next();
        Expect(TK_LPAREN, "(");
        Node* init = Peek().kind == TK_SEMI ? nullptr : Simple();
        Expect(TK_SEMI, ";");
        Node* cond = Peek().kind == TK_SEMI ? nullptr : Expression();
        Expect(TK_SEMI, ";");
        Node* step = Peek().kind == TK_RPAREN ? nullptr : Simple();
        Expect(TK_RPAREN, ")");
        Node* body = Body();
        Tree_SetLine(line);
        s = Tree_For(init, cond, step, body);
        break;
      }
      case TK_REPEAT:
      case TK_WITH: {
        Next();
        Node* head = Expression();
        Node* body = Body();
        Tree_SetLine(line);
        s = t.kind == TK_REPEAT ? Tree_Repeat(head, body) : Tree_With(head, body);
        break;
      }
      case TK_SWITCH: s = Switch(); break;
      case TK_BREAK: Next(); s = Tree_Flow(FLOW_BREAK); break;
      case TK_CONTINUE: Next(); s = Tree_Flow(FLOW_CONTINUE); break;
      case TK_EXIT: Next(); s = Tree_Flow(FLOW_EXIT); break;
      case TK_RETURN: {
        Next();
        TokenKind k = Peek().kind;
        if (k == TK_SEMI || k == TK_RBRACE || k == TK_EOF) {
          s = Tree_Flow(FLOW_EXIT);
        } else {
          Node* value = Expression();
          Tree_SetLine(line);
          s = Tree_Return(value);
        }
        break;
      }
      case TK_CASE:
      case TK_DEFAULT: Fail(t.text + " outside a switch");
      case TK_ELSE: Fail("else without if");
      case TK_UNTIL: Fail("until without do");
      default: s = Simple(); break;
    }
    if (s && t.kind != TK_LBRACE) s->line = line;  // a block of one is that statement, with its own line
    Accept(TK_SEMI);
    return s;
  }

  Node* Switch() {
    int line = Next().line;
    Node* value = Expression();
    Expect(TK_LBRACE, "{");
    std::vector<SwitchCase> cases;
    std::vector<Node*> body;
    while (!Accept(TK_RBRACE)) {
      if (Accept(TK_CASE)) {
        cases.push_back({Expression(), static_cast<int>(body.size())});
        Expect(TK_COLON, ":");
      } else if (Accept(TK_DEFAULT)) {
        cases.push_back({nullptr, static_cast<int>(body.size())});
        Expect(TK_COLON, ":");
      } else if (Peek().kind == TK_EOF) {
        Fail("symbol } expected, found the end of the code");
      } else if (Node* s = Statement()) {
        body.push_back(s);
      }
    }
    Tree_SetLine(line);
    return Tree_Switch(value, cases, body);
  }

  static bool IsAssignment(TokenKind k) { return k >= TK_ASSIGN && k <= TK_XORASSIGN; }

  VarNode* Target(Node* e, const char* what) {
    auto* var = dynamic_cast<VarNode*>(e);
    if (!var) Fail(std::string("cannot ") + what + " a value that is no variable");
    if (!var->Settable()) Fail("cannot assign to the read-only variable " + var->name);
    return var;
  }

  // An assignment, ++/-- or a call standing as a statement.
  Node* Simple() {
    int line = Peek().line;
    if (Peek().kind == TK_INC || Peek().kind == TK_DEC) {
      int delta = Next().kind == TK_INC ? 1 : -1;
      VarNode* var = Target(Postfix(), delta > 0 ? "increment" : "decrement");
      Tree_SetLine(line);
      return Tree_ExprStatement(Tree_IncDec(var, delta, true));
    }
    Node* e = Postfix();
    if (IsAssignment(Peek().kind)) {
      TokenKind op = Next().kind;
      VarNode* var = Target(e, "assign to");
      Node* value = Expression();
      Tree_SetLine(line);
      return Tree_Assign(var, op == TK_COLONASSIGN ? TK_ASSIGN : op, value);
    }
    if (!e->IsEffect()) Fail("malformed assignment statement");
    Tree_SetLine(line);
    return Tree_ExprStatement(e);
  }

  // ------------------------------------------------------------ expressions
  static int Level(TokenKind k) {
    switch (k) {
      case TK_OROR: return 1;
      case TK_ANDAND: return 2;
      case TK_XORXOR: return 3;
      case TK_EQ: case TK_ASSIGN: case TK_NE: case TK_LT: case TK_LE: case TK_GT: case TK_GE: return 4;
      case TK_BITOR: case TK_BITAND: case TK_BITXOR: return 5;
      case TK_SHL: case TK_SHR: return 6;
      case TK_PLUS: case TK_MINUS: return 7;
      case TK_STAR: case TK_SLASH: case TK_DIV: case TK_MOD: return 8;
      default: return 0;
    }
  }

  Node* Expression() {
    Nest nest(*this);
    return Binary(1);
  }

  // Operators of one level group to the left. Past a height of CHAIN_HEIGHT
  // the rest of the run becomes one chain, so a long flat sum is not deep.
  Node* Binary(int level) {
    if (level > 8) return Unary();
    Node* left = Binary(level + 1);
    std::vector<ChainLink> chain;
    int height = 0;
    int line = 0;
    while (Level(Peek().kind) == level) {
      const Token& op = Next();
      TokenKind kind = op.kind == TK_ASSIGN ? TK_EQ : op.kind;
      if (chain.empty()) line = op.line;
      Node* right = Binary(level + 1);
      Tree_SetLine(op.line);
      if (chain.empty() && left->height < CHAIN_HEIGHT) {
        left = Grown(Tree_Binary(kind, left, right), left, right);
      } else {
        chain.push_back({kind, right});
        height = std::max(height, right->height);
      }
    }
    if (chain.empty()) return left;
    Tree_SetLine(line);
    Node* run = Tree_Chain(left, chain);
    if (run->Constant()) return run;
    run->height = 1 + std::max(left->height, height);
    if (run->height > MAX_HEIGHT) Fail("expression too complex");
    return run;
  }

  Node* Unary() {
    TokenKind k = Peek().kind;
    if (k == TK_MINUS || k == TK_PLUS || k == TK_NOT || k == TK_TILDE) {
      Nest nest(*this);
      int line = Next().line;
      Node* e = Unary();
      Tree_SetLine(line);
      return Grown(Tree_Unary(k, e), e);
    }
    if (k == TK_INC || k == TK_DEC) {
      int line = Next().line;
      VarNode* var = Target(Postfix(), k == TK_INC ? "increment" : "decrement");
      Tree_SetLine(line);
      return Grown(Tree_IncDec(var, k == TK_INC ? 1 : -1, true), var);
    }
    return Postfix();
  }

  Node* Postfix() {
    Node* e = Primary();
    while (Peek().kind == TK_DOT) {
      Next();
      const Token& name = ExpectName("variable name after '.'");
      Tree_SetLine(name.line);
      Node* target = e;
      e = Indices(Grown(Field(target, name.text), target));
    }
    if (Peek().kind == TK_INC || Peek().kind == TK_DEC) {
      if (auto* var = dynamic_cast<VarNode*>(e)) {
        int delta = Next().kind == TK_INC ? 1 : -1;
        Target(var, delta > 0 ? "increment" : "decrement");
        e = Grown(Tree_IncDec(var, delta, false), var);
      }
    }
    return e;
  }

  // a[i] or a[i, j] after a variable.
  Node* Indices(Node* e) {
    if (Peek().kind != TK_LBRACKET) return e;
    auto* var = dynamic_cast<VarNode*>(e);
    if (!var) Fail("only variables can be indexed");
    Next();
    Node* i = Expression();
    Node* j = Accept(TK_COMMA) ? Expression() : nullptr;
    Expect(TK_RBRACKET, "]");
    var = Tree_Index(var, i, j);
    var->height = 1 + std::max(i->height, j ? j->height : 0);
    return var;
  }

  Node* Primary() {
    const Token& t = Peek();
    Tree_SetLine(t.line);
    switch (t.kind) {
      case TK_NUMBER: {
        Next();
        RValue v{VALUE_REAL, nullptr, t.number};
        return Tree_Const(v);
      }
      case TK_STRING: {
        Next();
        RValue v{VALUE_STRING, const_cast<char*>(t.text.c_str()), 0.0};
        return Tree_Const(v);
      }
      case TK_LPAREN: {
        Next();
        Node* e = Expression();
        Expect(TK_RPAREN, ")");
        return e;
      }
      case TK_NAME: {
        Next();
        if (Peek().kind == TK_LPAREN) return Call(t);
        return Indices(Name(t.text));
      }
      default: Fail("unexpected symbol " + Code_TokenText(t));
    }
  }

  Node* Call(const Token& name) {
    Nest nest(*this);
    Next();  // (
    std::vector<Node*> args;
    if (!Accept(TK_RPAREN)) {
      do {
        args.push_back(Expression());
      } while (Accept(TK_COMMA));
      Expect(TK_RPAREN, ")");
    }
    if (args.size() > static_cast<size_t>(MAX_ARGUMENTS))
      Fail("too many arguments to " + name.text + " (at most 16)");
    int id = Function_Find(name.text.c_str());
    if (id < 0) Fail("unknown function or script: " + name.text);
    int count = Function_ArgCount(id);
    if (id < FUNCTION_ID_SCRIPT || id >= FUNCTION_ID_EXTENSION) {
      if (count == -100) Fail("unknown function or script: " + name.text);
      if (count >= 0 && count != static_cast<int>(args.size()))
        Fail("wrong number of arguments to " + name.text + ": " + std::to_string(count) + " expected, " +
             std::to_string(args.size()) + " given");
    }
    Tree_SetLine(name.line);
    Node* call = Tree_Call(id, args);
    for (Node* a : args) call->height = std::max(call->height, a->height + 1);
    return call;
  }

  static Node* Named(VarNode* v, const std::string& name) {
    v->name = name;
    return v;
  }

  // A plain name: local, built-in variable, constant, resource, script, else
  // a variable of self (or the global one when declared by globalvar).
  Node* Name(const std::string& name) {
    auto local = m_locals.find(name);
    if (local != m_locals.end()) return Named(Tree_Local(local->second), name);
    int builtin = Variable_BuiltIn_Find(name.c_str());
    if (builtin >= 0) {
      int slot = Code_ArgumentSlotOf(builtin);
      if (slot >= 0) return Named(slot < ARGUMENT_SLOTS ? Tree_Argument(slot) : Tree_ArgumentArray(), name);
      return Named(Tree_BuiltIn(builtin, nullptr), name);
    }
    if (const RValue* k = Constant_Find(name.c_str())) return Tree_Const(*k);
    int index;
    if (Code_FindResource(name.c_str(), &index) || (index = Script_Find(name.c_str())) >= 0) {
      RValue v{VALUE_REAL, nullptr, static_cast<double>(index)};
      return Tree_Const(v);
    }
    int id = Code_Variable_Find(name.c_str());
    return Named(Variable_IsDeclaredGlobal(id) ? Tree_GlobalVar(id) : Tree_SelfVar(id), name);
  }

  // target.name
  Node* Field(Node* target, const std::string& name) {
    int builtin = Variable_BuiltIn_Find(name.c_str());
    const RValue* k = target->Constant();
    double who = k && k->kind != VALUE_STRING ? k->val : 0;
    if (k && who == TARGET_GLOBAL) {
      int id = Code_GlobalVariable_Find(name.c_str());
      return Named(id == builtin ? Tree_BuiltIn(builtin, nullptr) : Tree_GlobalVar(id), name);
    }
    if (builtin >= 0) return Named(Tree_BuiltIn(builtin, k && who == TARGET_SELF ? nullptr : target), name);
    int id = Code_Variable_Find(name.c_str());
    if (k && (who == TARGET_SELF || who == TARGET_OTHER)) return Named(Tree_InstanceVar(id, static_cast<int>(who)), name);
    return Named(Tree_TargetVar(target, id), name);
  }
};
}  // namespace

bool Code_CompileUnit(const std::string& text, bool expression, const std::string& unitName, CodeUnit** out) {
  *out = nullptr;
  std::vector<Token> tokens;
  std::string error;
  int line = 0;
  if (!Code_Lex(text.data(), text.size(), tokens, error, line)) {
    Code_ErrorText = unitName + " (line " + std::to_string(line) + "): " + error;
    return false;
  }
  auto* unit = new CodeUnit;
  Tree_SetUnit(unit);
  try {
    Parser parser(tokens);
    unit->root = expression ? parser.ExpressionOnly() : parser.Program(unit);
  } catch (const CompileError& e) {
    Tree_SetUnit(nullptr);
    delete unit;
    Code_ErrorText = unitName + " (line " + std::to_string(e.line) + "): " + e.message;
    return false;
  }
  Tree_SetUnit(nullptr);
  *out = unit;
  return true;
}
