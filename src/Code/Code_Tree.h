// The compiled form of code: a tree of nodes whose names are all resolved
// (local slots, variable ids, function ids), run by walking it.
#pragma once
#include <string>
#include <vector>

#include "Base/RValue.h"
#include "Code/Code_Lexer.h"
#include "Code/Code_BuiltinTable.h"
#include "Code/Code_Main.h"
#include "Platform/MemoryManager.h"
#include "Variable/Variable_List.h"

class CInstance;
class CCode;
class Node;

// What a statement tells the one around it.
enum Flow : int { FLOW_NORMAL = 0, FLOW_BREAK, FLOW_CONTINUE, FLOW_EXIT };

// One running unit.
struct Ctx {
  CInstance* self;
  CInstance* other;
  CVariable* locals;   // the unit's `var` slots
  const CCode* code;
  RValue* result;      // where `return` puts its value
  CodeArgumentFrame* frame;  // the argument slots argument0..15 read
  int line;            // line of the statement running now
  int depth;           // how many units run, this one included
  bool returned;
};

// A value being computed: starts as the real 0 and frees its text.
struct Temp : RValue {
  Temp() : RValue{VALUE_REAL, nullptr, 0.0} {}
  ~Temp() {
    if (str) MEM_FREE(str);
  }
  Temp(const Temp&) = delete;
  Temp& operator=(const Temp&) = delete;
};

// Replaces dst with src (dst's text freed); src is left the real 0.
inline void Value_Take(RValue* dst, RValue* src) {
  if (dst->str) MEM_FREE(dst->str);
  *dst = *src;
  src->kind = VALUE_REAL;
  src->str = nullptr;
}
// Copies v into out, which holds no text.
inline void Value_CopyOut(RValue* out, const RValue& v) {
  out->kind = v.kind;
  out->val = v.val;
  if (v.kind == VALUE_STRING && v.str) out->str = String_Duplicate(v.str);
}
// The language's truth: a real above 0.5.
inline bool Value_Truth(const RValue& v) { return v.kind != VALUE_STRING && v.val > 0.5; }
// The truth of node n's value made through its Real, for nodes that compute
// a real without building a value (n's class is known: the call is direct).
template <class N>
[[gnu::always_inline]] inline bool Value_RealTruth(const N& n, Ctx& c) {
  Temp t;
  double v = n.Real(c, &t);
  return t.kind != VALUE_STRING && v > 0.5;
}
// Steps a plain local's value e by delta in place, which cannot fail, when
// it holds no text; false for a text, whose statement gives the error.
[[gnu::always_inline]] inline bool Value_Step(RValue& e, double delta) {
  if (e.kind == VALUE_STRING) [[unlikely]]
    return false;
  e.kind = VALUE_REAL;
  e.val += delta;
  return true;
}
// The same for the plain local of that slot.
[[gnu::always_inline]] inline bool Value_StepLocal(Ctx& c, int slot, double delta) {
  return Value_Step(c.locals[slot].value, delta);
}

// Ends the running unit with a run-time error (framed with unit and line).
[[noreturn]] void Code_Fail(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// A comparison tested in place: a plain local, argument slot or plain name
// of self (a variable id) against a real constant or a plain local.
struct Compare {
  enum Source : unsigned char { LOCAL, ARGUMENT, SELF } source = LOCAL;
  TokenKind op = TK_EOF;  // TK_EQ .. TK_GE
  int slot = -1;
  int right = -1;  // the local on the right, else -1 for the constant k
  double k = 0;
};

// A script's first statement when it returns an argument slot or a real
// constant on a test of an argument slot against a real constant (if
// (argument0 < 2) return argument0;): a call whose arguments hold no text
// can give the returned value itself when the test holds, without running
// the script.
struct ScriptGuard {
  Compare test;       // source ARGUMENT, right -1
  int returned = -1;  // the argument slot returned, or -1 for value
  double value = 0.0;
};
// The comparison op (TK_EQ .. TK_GE) of two reals.
[[gnu::always_inline]] inline bool Value_CompareReals(TokenKind op, double x, double y) {
  switch (op) {
    case TK_EQ: return x == y;
    case TK_NE: return x != y;
    case TK_LT: return x < y;
    case TK_LE: return x <= y;
    case TK_GT: return x > y;
    default: return x >= y;
  }
}

// What a node is, for the factories that build a faster node from the nodes
// they are given: each node they look for sets its shape in its constructor.
enum NodeShape : unsigned char {
  SHAPE_OTHER = 0,
  SHAPE_LOCAL,            // a local without indices
  SHAPE_LOCAL_INDEXED,    // a local with indices: a[i], a[i, j]
  SHAPE_ARGUMENT,         // argument0..15 or argument[i]
  SHAPE_SELF,             // a plain name: globalvar, else self's
  SHAPE_SLOT_CONSTANT,    // a plain local or argument slot OP a real constant
  SHAPE_BINARY,           // a OP b of any other operands
  SHAPE_LOGIC,            // a && b, a || b, a ^^ b
  SHAPE_TEXT_JOIN,        // a text constant joined with a value by +
  SHAPE_BUILTIN_CALL,     // a call of a built-in or extension function
  SHAPE_SCRIPT_CALL,      // a call of a script
  SHAPE_INC_DEC,          // ++ or --
  SHAPE_FLOW,             // break, continue, exit
  SHAPE_BLOCK,            // { statements }
  SHAPE_RETURN_LOCAL,     // return of a plain local
  SHAPE_RETURN_ARGUMENT,  // return of an argument slot
  SHAPE_RETURN_REAL,      // return of a real constant
  SHAPE_BUILTIN_SELF,     // a built-in variable of self
};

class Node {
 public:
  Node();  // joins the tree being built (which owns and frees it)
  virtual ~Node() = default;
  // Expressions: writes the value into out, which holds the real 0 and no text.
  virtual void Eval(Ctx& c, RValue* out) const;
  // The value when it is a real, the usual case, without building a value:
  // returns it and leaves spill alone. When the value is a string it goes to
  // spill (which starts as a Temp) and the caller sees spill's kind.
  virtual double Real(Ctx& c, RValue* spill) const {
    Eval(c, spill);
    return spill->val;
  }
  // The value where it is stored, when the node reads a local in place;
  // else the value evaluated into spill (a Temp). Valid until code runs.
  virtual const RValue* Read(Ctx& c, RValue* spill) const {
    Eval(c, spill);
    return spill;
  }
  // The value's truth (conditions).
  virtual bool Test(Ctx& c) const;
  // Statements: runs and says how control goes on.
  virtual int Exec(Ctx& c) const;
  // True, with the parts, when the node compares a value read in place with
  // a real constant or a local (i < 10, i < n, hp > 100): conditions test
  // that without a call.
  virtual bool Comparison(Compare* out) const { return false; }
  // True, with the slot and the amount, when the node as a statement steps a
  // plain local by a real constant (i += 1, i++, i -= 2): statement lists
  // do that in place.
  virtual bool LocalStep(int* slot, double* delta) const { return false; }
  // True, with the parts, when the node, a unit's first statement, is a
  // guard that a call may answer.
  virtual bool Guard(ScriptGuard* out) const { return false; }
  // True when the node, a unit's first statement, returns a value made from
  // the argument slots below argc alone (return argument0 + argument1 *
  // argument2): a call whose arguments have no effect may ask Returns for
  // it in place of running the unit.
  virtual bool ReturnsFromArguments(int argc) const { return false; }
  // The value such a node returns when the argument slots hold args, into
  // out (the real 0) when it is made without an effect or error (all reals):
  // then true; else false, and the unit must run.
  virtual bool Returns(const RValue* args, RValue* out) const { return false; }
  // The value when the node is a constant, else null.
  virtual const RValue* Constant() const { return nullptr; }
  // True for calls and ++/--: expressions that may stand as statements.
  virtual bool IsEffect() const { return false; }
  int line;
  int height = 1;  // of the subtree; the compiler bounds it
  NodeShape shape = SHAPE_OTHER;
};

// Something that can be assigned: a variable with optional indices.
class VarNode : public Node {
 public:
  // value is consumed; op is TK_ASSIGN or the operator of a compound
  // assignment. TK_INC and TK_DEC step the variable by one (of every instance
  // a target names) and leave the old value (of the first) in value.
  virtual void Assign(Ctx& c, TokenKind op, RValue* value) const = 0;
  virtual bool Settable() const { return true; }
  Node* index1 = nullptr;  // a[index1] or a[index1, index2]
  Node* index2 = nullptr;
  int local1 = -1;         // the local slot an index is, when it is a plain local
  int local2 = -1;
  std::string name;
 protected:
  void Indices(Ctx& c, int* i, int* j) const;
};

// A call: its argument nodes (at most 16).
class CallBase : public Node {
 public:
  explicit CallBase(const std::vector<Node*>& a) : argc(static_cast<int>(a.size())) {
    for (int k = 0; k < argc && k < MAX_ARGUMENTS; ++k) args[k] = a[k];
  }
  bool IsEffect() const override { return true; }
  int argc;
  Node* args[MAX_ARGUMENTS] = {};
};

// The unit's nodes; built by the compiler.
struct CodeUnit {
  std::vector<Node*> nodes;
  Node* root = nullptr;
  // A program's statements, which root runs as a block, ended by a null: a
  // unit's run steps through them without an end to keep.
  std::vector<Node*> statements;
  int locals = 0;
  ~CodeUnit();
};

// Whether the factories build only the general nodes: each kind of code
// then becomes its one general node in place of any faster node for a
// shape it takes, so that the same programs run both ways show a fast node
// that differs from the path it replaces. On when built with the CMake
// option RUNNER_GENERAL_NODES or run with the environment variable
// RUNNER_GENERAL_NODES=1 (read once at start); the setter serves tests.
// Code compiled before a change keeps its nodes.
bool Tree_GeneralNodes();
void Tree_SetGeneralNodes(bool general);

// Makes the nodes created from now on belong to unit (null stops that) and
// carry that line.
void Tree_SetUnit(CodeUnit* unit);
void Tree_SetLine(int line);

// Node factories used by the compiler. Operators fold constants.
Node* Tree_Const(const RValue& value);
Node* Tree_Unary(TokenKind op, Node* a);
Node* Tree_Binary(TokenKind op, Node* a, Node* b);
// A long run of operators of one precedence, first op1 n1 op2 n2 ...,
// evaluated left to right in a loop rather than as a deep tree.
struct ChainLink {
  TokenKind op;
  Node* node;
};
Node* Tree_Chain(Node* first, const std::vector<ChainLink>& links);
Node* Tree_Call(int id, const std::vector<Node*>& args);
Node* Tree_Assign(VarNode* var, TokenKind op, Node* value);
Node* Tree_IncDec(VarNode* var, int delta, bool prefix);

VarNode* Tree_Local(int slot);
// The slot of a plain local (one without indices), else -1.
int Tree_PlainLocal(const Node* n);
// The slot of a plain argument (argument0..15), else -1.
int Tree_PlainArgument(const Node* n);
// The variable id of a plain name of self, else -1.
int Tree_PlainSelf(const Node* n);
// Gives a variable its indices (the node may be replaced by a faster one).
VarNode* Tree_Index(VarNode* var, Node* index1, Node* index2);
VarNode* Tree_Argument(int slot);
VarNode* Tree_ArgumentArray();
VarNode* Tree_BuiltIn(int index, Node* target);  // target null: self
VarNode* Tree_SelfVar(int id);                   // a plain name: globalvar, else self
VarNode* Tree_InstanceVar(int id, int which);    // which: -1 self, -2 other
VarNode* Tree_GlobalVar(int id);
VarNode* Tree_TargetVar(Node* target, int id);

Node* Tree_Block(const std::vector<Node*>& statements);
Node* Tree_ExprStatement(Node* e);
Node* Tree_If(Node* cond, Node* then, Node* otherwise);
Node* Tree_While(Node* cond, Node* body);
Node* Tree_DoUntil(Node* body, Node* cond);
Node* Tree_For(Node* init, Node* cond, Node* step, Node* body);
Node* Tree_Repeat(Node* count, Node* body);
Node* Tree_With(Node* target, Node* body);
struct SwitchCase {
  Node* value;  // null for default
  int position; // index of the first statement after the label
};
Node* Tree_Switch(Node* value, const std::vector<SwitchCase>& cases, const std::vector<Node*>& body);
Node* Tree_Flow(Flow flow);  // break, continue, exit
Node* Tree_Return(Node* value);
Node* Tree_GlobalVarDecl(const std::vector<int>& ids);

// Applies a binary operator to two values (the interpreter's rules).
void Code_BinaryOp(TokenKind op, const RValue& a, const RValue& b, RValue* out);

// The argument slots of the running unit (of code started from outside
// when none runs): a frame on a stack, so a call gives its callee fresh
// slots without moving the caller's. Slots from counts.used on are the real 0.
CodeArgumentFrame* Code_ArgumentFrame();

// The argument slot a built-in variable index stands for: 0..15 for
// argument0..15, 16 for argument (indexed), -1 for any other.
int Code_ArgumentSlotOf(int builtin);

// Calls a function id from running code; errors end the unit. The arguments
// of a script call pass into the slots without copying.
void Code_Dispatch(int id, Ctx& c, int argc, RValue* args, RValue* out);
// How a script call makes an argument in its callee's fresh slot: a real
// constant stored, a plain local or argument copied from its slot, a slot
// times `times` plus `add` computed inline unless the slot holds a text,
// anything else (NODE) evaluated straight into the slot.
struct ScriptArgument {
  enum How : unsigned char { NODE, REAL, LOCAL, ARGUMENT, LOCAL_OPERATION, ARGUMENT_OPERATION } how = NODE;
  int slot = -1;       // the local or argument slot read
  double times = 1.0;  // an operation's factor
  double add = 0.0;    // an operation's addend, or the real constant
};
// The call nodes of scripts live beside the unit runner, which they use
// directly; the factories say how they are built. A call of script `index`
// whose arguments are made as ways says (one per argument); unrolled for
// its argument count unless general.
Node* Code_NewScriptCall(int index, const std::vector<Node*>& args, const ScriptArgument* ways, bool general);
// The statement local = call, local += call or local -= call (op) for a
// plain local of that slot, call being a node of Code_NewScriptCall: the
// call's value goes to the local within the statement.
Node* Code_NewScriptCallStore(VarNode* var, int slot, TokenKind op, const Node* call);

// Runs a script's unit at a boundary with copies of the arguments; on a
// run-time error records "In script NAME:\n..." through Code_Error.
bool Code_RunScript(CCode* code, const char* name, CInstance* self, CInstance* other, int argc, const RValue* args,
                    RValue* result);
