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

// x = a[...], x += a[...], x -= a[...] with x a plain local and a an indexed
// local whose PLAIN indices (1 or 2) are plain locals: an element holding a
// real is read where it is stored and no value is made, so the node needs
// no frame. Anything else (a text, an index to round or refuse, an element
// not stored) runs the general node, before which nothing was evaluated.
template <TokenKind OP, int PLAIN>
class LocalFromElement final : public Node {
 public:
  LocalFromElement(const Node* g, const LocalIndexed* a, int s) : general(g), element(a), x(FrameOffset(s)) {}
  int Exec(Ctx& c) const override {
    int i, j;
    if (element.Indices(c, &i, &j)) [[likely]] {
      const RValue* e = Variable_Element(element.Array(c), i, j);
      RValue& to = FrameAt(c, x).value;
      if (e && e->kind == VALUE_REAL && to.kind != VALUE_STRING) [[likely]] {
        to.kind = VALUE_REAL;
        to.val = LocalAssignNode<OP, false>::Apply(to.val, e->val);
        return FLOW_NORMAL;
      }
    }
    return general->Exec(c);
  }
  const Node* general;
  PlainElement<PLAIN> element;
  size_t x;  // the frame offset of the local stored into
};

// A real read in place with nothing evaluated: a real constant, a plain
// local holding a real, or two slots holding reals under + - * / (no
// division by zero). PeekReal gives false when the value is anything else,
// and then nothing was evaluated.
struct RealConstant {
  double k;
};
[[gnu::always_inline]] inline bool PeekReal(const RealConstant& v, Ctx&, double* out) {
  *out = v.k;
  return true;
}
struct PlainLocal {
  size_t offset;  // in the frame
};
[[gnu::always_inline]] inline bool PeekReal(const PlainLocal& v, Ctx& c, double* out) {
  const RValue& x = FrameAt(c, v.offset).value;
  *out = x.val;
  return x.kind == VALUE_REAL;
}
// A plain local's (also a SCALED one's) or argument slot's place as a byte
// offset.
template <Where W>
size_t SlotOffset(int slot) {
  return W == ARGUMENT ? static_cast<size_t>(slot) * sizeof(RValue) : FrameOffset(slot);
}
template <Where W>
[[gnu::always_inline]] inline const RValue& SlotAt(Ctx& c, size_t offset) {
  if constexpr (W != ARGUMENT) return FrameAt(c, offset).value;
  return *reinterpret_cast<const RValue*>(reinterpret_cast<const char*>(c.frame->slot) + offset);
}
// The sides of a BinaryNode<OP, L, R> both read in place: their slots and
// the factor k of a SCALED left side.
template <TokenKind OP, Where L, Where R>
struct SlotPair {
  SlotPair(int l, int r, double k) : left(SlotOffset<L>(l)), right(SlotOffset<R>(r)), scale(k) {}
  size_t left, right;  // byte offsets
  double scale;        // what a SCALED left side is multiplied by
};
template <TokenKind OP, Where L, Where R>
[[gnu::always_inline]] inline bool PeekReal(const SlotPair<OP, L, R>& v, Ctx& c, double* out) {
  const RValue& a = SlotAt<L>(c, v.left);
  const RValue& b = SlotAt<R>(c, v.right);
  if ((a.kind | b.kind) != VALUE_REAL || (IsDivision(OP) && b.val == 0.0)) return false;
  *out = RealOp<OP>(L == SCALED ? a.val * v.scale : a.val, b.val);
  return true;
}

// x = a OP b with x a plain local: the operator is computed inline. When
// both sides are read in place and hold reals (x = x * 0.5 + i), the real
// goes to x with no value made; anything else (a text, a marked real, a
// division by zero, x holding a text) takes the operator node's way.
template <TokenKind OP, Where L, Where R>
class LocalSetBinary final : public AssignNode {
 public:
  static constexpr bool kInPlace = L != NODE && R != NODE;
  LocalSetBinary(VarNode* v, const BinaryNode<OP, L, R>* e, int s)
      : AssignNode(v, TK_ASSIGN, const_cast<BinaryNode<OP, L, R>*>(e)), binary(e), to(FrameOffset(s)),
        pair(kInPlace ? e->ls : 0, kInPlace ? e->rs : 0, e->lk) {}
  int Exec(Ctx& c) const override {
    if constexpr (kInPlace) {
      double v;
      RValue& e = FrameAt(c, to).value;
      if (PeekReal(pair, c, &v) && e.kind != VALUE_STRING) [[likely]] {
        e.kind = VALUE_REAL;
        e.val = v;
        return FLOW_NORMAL;
      }
      return ByNode(c);
    }
    return Set(c);
  }
  const BinaryNode<OP, L, R>* binary;

 private:
  // Out of line where the usual way is in place, so that it needs no frame.
  [[gnu::noinline]] int ByNode(Ctx& c) const { return Set(c); }
  [[gnu::always_inline]] int Set(Ctx& c) const {
    Temp t;
    double v = binary->Compute(c, &t);
    RValue& e = FrameAt(c, to).value;
    if (t.kind == VALUE_REAL && e.kind != VALUE_STRING) [[likely]] {
      e.kind = VALUE_REAL;
      e.val = v;
      return FLOW_NORMAL;
    }
    if (t.kind != VALUE_STRING) t.val = v;
    Store(var, &e, TK_ASSIGN, &t);
    return FLOW_NORMAL;
  }
  size_t to;  // the frame offset of x
  SlotPair<OP, kInPlace ? L : LOCAL, kInPlace ? R : LOCAL> pair;  // unused when a side is a node
};

// a[...] = v, a[...] += v, a[...] -= v with a an indexed local whose PLAIN
// indices are plain locals and v a real read in place (VALUE: see PeekReal):
// the real goes into the element with no value made in between; an element
// past the end of a row that has room is added. Anything else (a text on
// either side, an index to round or refuse, a row to grow) runs the general
// node, before which nothing was evaluated.
template <TokenKind OP, int PLAIN, class VALUE>
class ElementFromReal final : public Node {
 public:
  ElementFromReal(const Node* g, const LocalIndexed* a, const VALUE& v) : general(g), element(a), value(v) {}
  int Exec(Ctx& c) const override {
    int i, j;
    double v;
    if (PeekReal(value, c, &v) && element.Indices(c, &i, &j)) [[likely]] {
      if constexpr (OP == TK_ASSIGN) {
        if (Variable_SetRealInPlace(element.Array(c), i, j, v)) [[likely]]
          return FLOW_NORMAL;
      } else {
        RValue* e = Variable_Element(element.Array(c), i, j);
        if (e && e->kind == VALUE_REAL) [[likely]] {
          e->val = LocalAssignNode<OP, false>::Apply(e->val, v);
          return FLOW_NORMAL;
        }
      }
    }
    return general->Exec(c);
  }
  const Node* general;
  PlainElement<PLAIN> element;
  VALUE value;
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
    if (slot >= 0 && Value_StepLocal(c, slot, delta)) [[likely]]
      return FLOW_NORMAL;
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
