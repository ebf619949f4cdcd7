// Assignments and increments: the general store through the variable and
// the stores made inline for the commonest variables and values.
#pragma once
#include "Code/Tree/Tree_Variables.h"

namespace tree {
class AssignNode : public Node {
 public:
  AssignNode(VarNode* v, TokenKind o, Node* e) : var(v), op(o), value(e) {}
  // Reals come back without filling a value; strings and marked reals in t.
  int Exec(Ctx& c) const override {
    Temp t;
    double v = value->Real(c, &t);
    if (t.kind != VALUE_STRING) t.val = v;
    var->Assign(c, op, &t);
    return FLOW_NORMAL;
  }
  VarNode* var;
  TokenKind op;
  Node* value;
};

// An assignment (=, += or -=) to a variable whose kind is known when
// compiling (a plain name of self, an indexed local): the variable's store
// is made inline; CONSTANT when the value is a real constant (hp += 3).
template <class V, TokenKind OP, bool CONSTANT, class VALUE = Node>
class DirectAssignNode final : public AssignNode {
 public:
  DirectAssignNode(VarNode* v, Node* e) : AssignNode(v, OP, e), k(CONSTANT ? e->Constant()->val : 0.0) {}
  int Exec(Ctx& c) const override {
    if constexpr (CONSTANT) {
      // A real: the store leaves no text to free.
      RValue v{VALUE_REAL, nullptr, k};
      static_cast<const V*>(var)->Put(c, OP, &v);
    } else {
      Temp t;
      double v = RealOf<VALUE>(value, c, &t);
      if (t.kind != VALUE_STRING) t.val = v;
      static_cast<const V*>(var)->Put(c, OP, &t);
    }
    return FLOW_NORMAL;
  }
  double k;
};

// x = a OP b with x a plain local: the operator is computed inline.
template <TokenKind OP, Where L, Where R>
class LocalSetBinary final : public AssignNode {
 public:
  LocalSetBinary(VarNode* v, const BinaryNode<OP, L, R>* e, int s)
      : AssignNode(v, TK_ASSIGN, const_cast<BinaryNode<OP, L, R>*>(e)), binary(e), slot(s) {}
  int Exec(Ctx& c) const override {
    Temp t;
    double v = binary->Compute(c, &t);
    RValue& e = c.locals[slot].value;
    if (t.kind == VALUE_REAL && e.kind != VALUE_STRING) [[likely]] {
      e.kind = VALUE_REAL;
      e.val = v;
      return FLOW_NORMAL;
    }
    if (t.kind != VALUE_STRING) t.val = v;
    Store(var, &e, TK_ASSIGN, &t);
    return FLOW_NORMAL;
  }
  const BinaryNode<OP, L, R>* binary;
  int slot;
};

// A local indexed by nothing, assigned, added to or subtracted from: x = e,
// x += e, x -= e; CONSTANT when e is a real constant (i += 1).
template <TokenKind OP, bool CONSTANT, class VALUE = Node>
class LocalAssignNode final : public AssignNode {
 public:
  LocalAssignNode(VarNode* v, Node* e, int s)
      : AssignNode(v, OP, e), slot(s), k(CONSTANT ? e->Constant()->val : 0.0) {
    const RValue* text = e->Constant();
    if (OP == TK_PLUSASSIGN && text && text->kind == VALUE_STRING) piece = RValue_Text(*text);
  }
  static double Apply(double old, double v) { return OP == TK_ASSIGN ? v : OP == TK_PLUSASSIGN ? old + v : old - v; }
  bool LocalStep(int* local, double* delta) const override {
    if (!CONSTANT || OP == TK_ASSIGN) return false;
    *local = slot;
    *delta = OP == TK_PLUSASSIGN ? k : -k;  // old - k is old + -k exactly
    return true;
  }
  int Exec(Ctx& c) const override {
    RValue& e = c.locals[slot].value;
    // Only a text constant gives a piece, and its node is a plain Node.
    if constexpr (OP == TK_PLUSASSIGN && !CONSTANT && std::is_same_v<VALUE, Node>) {
      if (piece && e.kind == VALUE_STRING && e.str) {
        AppendInPlace(&e, piece);  // s += "text": the text is not copied first
        return FLOW_NORMAL;
      }
    }
    if constexpr (CONSTANT) {
      if (e.kind != VALUE_STRING) [[likely]] {
        e.kind = VALUE_REAL;
        e.val = Apply(e.val, k);
        return FLOW_NORMAL;
      }
      return Slow(e);
    }
    Temp t;
    double v = RealOf<VALUE>(value, c, &t);
    if (t.kind == VALUE_REAL && e.kind != VALUE_STRING) [[likely]] {
      e.kind = VALUE_REAL;
      e.val = Apply(e.val, v);
      return FLOW_NORMAL;
    }
    if (t.kind != VALUE_STRING) t.val = v;
    Store(var, &e, OP, &t);
    return FLOW_NORMAL;
  }
  // A real constant stored into a string: replaces it or fails.
  [[gnu::noinline]] int Slow(RValue& e) const {
    Temp t;
    t.val = k;
    Store(var, &e, OP, &t);
    return FLOW_NORMAL;
  }
  int slot;
  double k;
  const char* piece = nullptr;  // a string constant added on (its node owns the text)
};

class IncDecNode final : public Node {
 public:
  // s: the slot of a plain local stepped in place, else -1.
  IncDecNode(VarNode* v, int d, bool p, int s) : var(v), delta(d), prefix(p), slot(s) { shape = SHAPE_INC_DEC; }
  bool LocalStep(int* local, double* step) const override {
    *local = slot;
    *step = delta;
    return slot >= 0;
  }
  bool IsEffect() const override { return true; }
  // The variable is found once (its indices and target evaluated once) and
  // every instance a target names is stepped from its own value.
  void Eval(Ctx& c, RValue* out) const override {
    Temp old;
    var->Assign(c, delta > 0 ? TK_INC : TK_DEC, &old);
    out->kind = VALUE_REAL;
    out->val = prefix ? old.val + delta : old.val;
  }
  // As a statement the value is not made.
  int Exec(Ctx& c) const override {
    if (slot >= 0) {
      RValue& e = c.locals[slot].value;
      if (e.kind != VALUE_STRING) [[likely]] {
        e.kind = VALUE_REAL;
        e.val += delta;
        return FLOW_NORMAL;
      }
    }
    Temp old;
    var->Assign(c, delta > 0 ? TK_INC : TK_DEC, &old);
    return FLOW_NORMAL;
  }
  VarNode* var;
  int delta;
  bool prefix;
  int slot;  // of a plain local, else -1
};

// A built-in's arguments. Built-ins read missing arguments as 0 and never
}  // namespace tree
