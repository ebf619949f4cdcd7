// The operator nodes and what they share: reading operands in place,
// the real operators, conditions tested without a call.
#pragma once
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#include "Base/Convert.h"
#include "Code/Code_Tree.h"
#include "Code/Tree/Tree_Instance.h"


namespace tree {
// The text an error shows for an operator.
const char* OpText(TokenKind op);
// The operator a compound assignment applies.
TokenKind CompoundOp(TokenKind op);
// Equality as == has it: a string never equals a real.
bool SameValue(const RValue& a, const RValue& b);
// x + y as a new text in out, whose old text is freed after the join (it
// may be one of the parts).
void JoinTexts(const char* x, size_t nx, const char* y, size_t ny, RValue* out);

inline int64_t Shift(TokenKind op, int64_t a, int64_t n) {
  if (n < 0) return 0;
  if (op == TK_SHL) return n >= 64 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(a) << n);
  return n >= 64 ? (a < 0 ? -1 : 0) : (a >> n);
}

// The real operators; division by zero is checked by the callers.
template <TokenKind OP>
inline double RealOp(double a, double b) {
  if constexpr (OP == TK_PLUS) return a + b;
  else if constexpr (OP == TK_MINUS) return a - b;
  else if constexpr (OP == TK_STAR) return a * b;
  else if constexpr (OP == TK_SLASH) return a / b;
  else if constexpr (OP == TK_DIV) return std::trunc(a / b);
  else if constexpr (OP == TK_MOD) return a - std::trunc(a / b) * b;
  else if constexpr (OP == TK_EQ) return a == b ? 1.0 : 0.0;
  else if constexpr (OP == TK_NE) return a != b ? 1.0 : 0.0;
  else if constexpr (OP == TK_LT) return a < b ? 1.0 : 0.0;
  else if constexpr (OP == TK_LE) return a <= b ? 1.0 : 0.0;
  else if constexpr (OP == TK_GT) return a > b ? 1.0 : 0.0;
  else if constexpr (OP == TK_GE) return a >= b ? 1.0 : 0.0;
  else if constexpr (OP == TK_BITOR) return static_cast<double>(Convert_RoundInt64(a) | Convert_RoundInt64(b));
  else if constexpr (OP == TK_BITAND) return static_cast<double>(Convert_RoundInt64(a) & Convert_RoundInt64(b));
  else if constexpr (OP == TK_BITXOR) return static_cast<double>(Convert_RoundInt64(a) ^ Convert_RoundInt64(b));
  else return static_cast<double>(Shift(OP, Convert_RoundInt64(a), Convert_RoundInt64(b)));
}

constexpr bool IsStep(TokenKind op) { return op == TK_INC || op == TK_DEC; }
constexpr bool IsDivision(TokenKind op) { return op == TK_SLASH || op == TK_DIV || op == TK_MOD; }

double RealOpRuntime(TokenKind op, double a, double b);

// a OP b where a or b is a string (the rare case): the string operands as
// values, the real ones as x and y.
double Mixed(TokenKind op, const RValue& a, double x, const RValue& b, double y, RValue* out);
inline const RValue kNoString{VALUE_REAL, nullptr, 0.0};

inline double Checked(TokenKind op, double x, double y) {
  if (IsDivision(op) && y == 0.0) Code_Fail("Division by zero.");
  return x;
}

// Where an operand of an operator is: a node evaluated, or a plain local or
// argument slot read in place. SCALED, on the left only, is a plain local
// times a real constant (x * 0.5 + i) computed in place.
enum Where : unsigned char { NODE, LOCAL, ARGUMENT, SCALED };

Where WhereOf(const Node* n, int* slot);

template <Where W>
[[gnu::always_inline]] inline const RValue& SlotValue(Ctx& c, int slot) {
  return W == LOCAL ? c.locals[slot].value : c.frame->slot[slot];
}

// a OP b where spill holds a's value and a or b is a string: the rare case.
[[gnu::noinline]] double MixedSpill(TokenKind op, RValue* spill, double x, const RValue& b, double y);

// spill, as Node::Real does.
template <Where W>
[[gnu::always_inline]] inline double LeftReal(Ctx& c, const Node* n, int slot, RValue* spill) {
  if constexpr (W == NODE) {
    return n->Real(c, spill);
  } else {
    const RValue& v = SlotValue<W>(c, slot);
    if (v.kind == VALUE_STRING) [[unlikely]]
      Value_CopyOut(spill, v);
    return v.val;
  }
}

// Returns true when x OP y can be computed on reals: neither side a string.
// A marked real on the left loses its mark, as arithmetic gives a plain real.
[[gnu::always_inline]] inline bool BothReal(RValue* spill, const RValue& b) {
  if ((spill->kind | b.kind) == VALUE_REAL) [[likely]]
    return true;
  if (spill->kind == VALUE_STRING || b.kind == VALUE_STRING) return false;
  spill->kind = VALUE_REAL;
  return true;
}

template <class VALUE>
[[gnu::always_inline]] inline double RealOf(const Node* e, Ctx& c, RValue* spill) {
  if constexpr (std::is_same_v<VALUE, Node>) return e->Real(c, spill);
  else return static_cast<const VALUE*>(e)->Compute(c, spill);
}

// a OP b; a side that is a plain local or argument slot is read in place.
// The left value is computed into the caller's spill, so only a node on the
// right needs a value of its own.
// The operator and where its sides are, which the factories read to build
// the stores and returns that compute it inline.
class BinaryBase : public Node {
 public:
  BinaryBase(TokenKind o, Where lw, Node* a, int as, Where rw, Node* b, int bs)
      : l(a), r(b), ls(as), rs(bs), op(o), left(lw), right(rw) {
    shape = SHAPE_BINARY;
  }
  Node* l;
  Node* r;
  int ls, rs;  // the slots of sides read in place
  double lk = 0;  // what a SCALED left side's local is multiplied by
  TokenKind op;
  Where left, right;
};

template <TokenKind OP, Where L, Where R>
class BinaryNode final : public BinaryBase {
 public:
  BinaryNode(Node* a, int as, Node* b, int bs) : BinaryBase(OP, L, a, as, R, b, bs) {}
  double Real(Ctx& c, RValue* spill) const override { return Compute(c, spill); }
  [[gnu::always_inline]] double Compute(Ctx& c, RValue* spill) const {
    if constexpr ((L == LOCAL || L == ARGUMENT) && R != NODE) {
      // Two reals read in place, the usual case, need nothing else.
      const RValue& a = SlotValue<L>(c, ls);
      const RValue& b = SlotValue<R>(c, rs);
      if ((a.kind | b.kind) == VALUE_REAL) [[likely]]
        return RealOp<OP>(Checked(OP, a.val, b.val), b.val);
      return NotReals(c, spill);
    } else if constexpr (R == NODE) {
      double x = Left(c, spill);
      if (spill->kind != VALUE_REAL) [[unlikely]]
        return RightWithTemp(c, x, spill);
      // The left value is a plain real: spill holds no text and, made the
      // real 0 again, takes the right value.
      spill->val = 0.0;
      double y = r->Real(c, spill);
      if (spill->kind != VALUE_REAL) [[unlikely]]
        return RightSpilled(x, y, spill);
      return RealOp<OP>(Checked(OP, x, y), y);
    } else {
      return General(c, spill);
    }
  }
  [[gnu::always_inline]] double Left(Ctx& c, RValue* spill) const {
    if constexpr (L == SCALED) {
      const RValue& v = c.locals[ls].value;
      if (v.kind == VALUE_STRING) [[unlikely]]
        return l->Real(c, spill);  // its node tells the error
      return v.val * lk;
    } else {
      return LeftReal<L>(c, l, ls, spill);
    }
  }
  // The left value read (x, and what spill holds), the right side is
  // evaluated into a value of its own.
  [[gnu::noinline]] double RightWithTemp(Ctx& c, double x, RValue* spill) const {
    Temp b;
    double y = r->Real(c, &b);
    if (!BothReal(spill, b)) return MixedSpill(OP, spill, x, b, y);
    return RealOp<OP>(Checked(OP, x, y), y);
  }
  // The left value was the real x and the right one, y, went to spill: a
  // string or a marked real.
  [[gnu::noinline]] double RightSpilled(double x, double y, RValue* spill) const {
    Temp b;
    Value_Take(&b, spill);
    spill->val = 0.0;
    if (b.kind == VALUE_STRING) return Mixed(OP, kNoString, x, b, y, spill);
    return RealOp<OP>(Checked(OP, x, y), y);
  }
  // The right side read in place: any values.
  [[gnu::always_inline]] double General(Ctx& c, RValue* spill) const {
    double x = Left(c, spill);
    const RValue& b = SlotValue<R>(c, rs);
    double y = b.val;
    if (!BothReal(spill, b)) [[unlikely]]
      return MixedSpill(OP, spill, x, b, y);
    return RealOp<OP>(Checked(OP, x, y), y);
  }
  [[gnu::noinline]] double NotReals(Ctx& c, RValue* spill) const { return General(c, spill); }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override { return Value_RealTruth(*this, c); }
  bool Comparison(Compare* out) const override {
    if (OP < TK_EQ || OP > TK_GE || (L != LOCAL && L != ARGUMENT) || R != LOCAL) return false;
    out->source = L == LOCAL ? Compare::LOCAL : Compare::ARGUMENT;
    out->op = OP;
    out->slot = ls;
    out->right = rs;
    return true;
  }
};

// A binary operator whose right side is a real constant (i < 10, n - 1),
// and its left side any node.
template <TokenKind OP>
class BinaryConstNode final : public Node {
 public:
  // s: the variable id when a is a plain name of self, else -1.
  BinaryConstNode(Node* a, double b, int s) : l(a), k(b), self(s) {}
  double Real(Ctx& c, RValue* spill) const override {
    double x = l->Real(c, spill);
    if (!BothReal(spill, kNoString)) [[unlikely]]
      return MixedSpill(OP, spill, x, kNoString, k);
    return RealOp<OP>(x, k);
  }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override { return Value_RealTruth(*this, c); }
  bool Comparison(Compare* out) const override {
    if (OP < TK_EQ || OP > TK_GE || self < 0) return false;
    out->source = Compare::SELF;
    out->op = OP;
    out->slot = self;
    out->k = k;
    return true;
  }
  Node* l;
  double k;
  int self;  // the variable id when the left side is a plain name of self, else -1
};

// The bits of the reals 32000 and 2^31.
constexpr uint64_t kIndexEndBits = 0x40DF400000000000ull;
constexpr uint64_t kInt32EndBits = 0x41E0000000000000ull;

// True with x as an int when x is a whole number from +0 up to below the
// real whose bits are end. As unsigned bits the reals from +0 up (not -0,
// not NaN) are in order: one comparison tells the range.
[[gnu::always_inline]] inline bool WholeBelow(double x, uint64_t end, int* k) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  if (bits >= end) return false;
  *k = static_cast<int>(x);
  return *k == x;
}

// OP with a plain local (or argument slot) on the left and a real constant
// on the right: the commonest shape of loop tests and steps.
class SlotConstant : public Node {
 public:
  SlotConstant(TokenKind o, bool a, int s, double b) : op(o), argument(a), slot(s), k(b) {
    shape = SHAPE_SLOT_CONSTANT;
    int whole;
    if (o == TK_MOD && WholeBelow(std::fabs(b), kIndexEndBits, &whole) && whole > 0) {
      modulus = static_cast<unsigned>(whole);
      mask = (modulus & (modulus - 1)) == 0 ? modulus - 1 : 0;
    }
  }
  // The value of a plain local OP k (argument false) as an array index,
  // computed in place, when the local holds a real and the value is a whole
  // number 0 .. 31999 (i mod 4, i + 1, i div 2); else false, and the node's
  // own evaluation decides (texts, fractions, NaN and values out of range
  // round or fail there).
  [[gnu::always_inline]] bool AsIndex(Ctx& c, int* j) const {
    const RValue& v = c.locals[slot].value;
    if (v.kind != VALUE_REAL) [[unlikely]]
      return false;
    if (modulus) {
      // A whole number 0 .. 2^31 - 1 mod a whole one: x - trunc(x / k) * k is
      // exact there, and is the remainder of the integers (below 32000).
      int x;
      if (!WholeBelow(v.val, kInt32EndBits, &x)) return false;
      unsigned u = static_cast<unsigned>(x);
      *j = static_cast<int>(mask ? u & mask : u % modulus);
      return true;
    }
    double d;
    switch (op) {
      case TK_PLUS: d = RealOp<TK_PLUS>(v.val, k); break;
      case TK_MINUS: d = RealOp<TK_MINUS>(v.val, k); break;
      case TK_STAR: d = RealOp<TK_STAR>(v.val, k); break;
      case TK_DIV: d = RealOp<TK_DIV>(v.val, k); break;
      case TK_MOD: d = RealOp<TK_MOD>(v.val, k); break;
      default: return false;
    }
    return WholeBelow(d, kIndexEndBits, j);
  }
  TokenKind op;
  bool argument;  // an argument slot, else a plain local
  int slot;
  double k;
  unsigned modulus = 0;  // |k| of mod when it is a whole number 1 .. 31999, else 0
  unsigned mask = 0;     // modulus - 1 when the modulus is a power of two above 1, else 0
};

template <TokenKind OP, bool ARGUMENT>
class LocalConstNode final : public SlotConstant {
 public:
  LocalConstNode(int s, double b) : SlotConstant(OP, ARGUMENT, s, b) {}
  bool Comparison(Compare* out) const override {
    if (OP < TK_EQ || OP > TK_GE) return false;
    out->source = ARGUMENT ? Compare::ARGUMENT : Compare::LOCAL;
    out->op = OP;
    out->slot = slot;
    out->k = k;
    return true;
  }
  const RValue& Source(Ctx& c) const { return ARGUMENT ? c.frame->slot[slot] : c.locals[slot].value; }
  double Real(Ctx& c, RValue* spill) const override {
    const RValue& a = Source(c);
    if (a.kind == VALUE_STRING) [[unlikely]]
      return MixedText(a, spill);
    return RealOp<OP>(a.val, k);
  }
  [[gnu::noinline]] double MixedText(const RValue& a, RValue* spill) const { return Mixed(OP, a, 0, kNoString, k, spill); }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override {
    const RValue& a = Source(c);
    if (a.kind == VALUE_STRING) {
      Temp t;
      double v = Mixed(OP, a, 0, kNoString, k, &t);
      return t.kind != VALUE_STRING && v > 0.5;
    }
    return RealOp<OP>(a.val, k) > 0.5;
  }
};

// 1 or 0, the outcome of the comparison, or -1 when it cannot be made in
// place (a string, or a variable not stored): the node then decides.
[[gnu::always_inline]] inline int TestInPlace(Ctx& c, const Compare& k) {
  const RValue* v;
  if (k.source == Compare::LOCAL) {
    v = &c.locals[k.slot].value;
  } else if (k.source == Compare::ARGUMENT) {
    v = &c.frame->slot[k.slot];
  } else {
    CVariable* var = SelfFind(c, k.slot);
    if (!var) return -1;
    v = &var->value;
  }
  if (v->kind == VALUE_STRING) return -1;
  double x = v->val, y = k.k;
  if (k.right >= 0) {
    const RValue& w = c.locals[k.right].value;
    if (w.kind == VALUE_STRING) return -1;
    y = w.val;
  }
  return Value_CompareReals(k.op, x, y);
}

// 1 or 0, a value read in place compared with a real constant, or -1 when
// it is a string and the node must decide.
template <TokenKind OP>
[[gnu::always_inline]] inline int CompareInPlace(const RValue& v, double k) {
  if (v.kind == VALUE_STRING) [[unlikely]]
    return -1;
  return RealOp<OP>(v.val, k) != 0.0;
}
// The same for a plain local (or argument slot).
template <TokenKind OP, bool ARGUMENT>
[[gnu::always_inline]] inline int SlotCompare(Ctx& c, int slot, double k) {
  return CompareInPlace<OP>(ARGUMENT ? c.frame->slot[slot] : c.locals[slot].value, k);
}

class LogicNode;

// A condition. Comparisons made in place (i < 10, hp > 100, x > 1 && x != 5,
// up to four joined by one of && and ||) are tested without a call to the
// node; anything else (also a comparison meeting a string) asks the node. A
// missing condition is true. The test suited to the shape is chosen once.
class Condition {
 public:
  explicit Condition(const Node* n);
  bool Test(Ctx& c) const { return m_test(*this, c); }
  const Node* Get() const { return m_node; }

 private:
  bool Gather(const Node* n, TokenKind join);
  // The shapes tested by code made for them: a plain local, argument slot
  // or plain name of self against a real constant, a plain local against a
  // plain local.
  enum Shape { LOCAL_CONSTANT, ARGUMENT_CONSTANT, LOCAL_LOCAL, SELF_CONSTANT };
  template <TokenKind OP, Shape SHAPE>
  [[gnu::always_inline]] static int One(const Compare& k, Ctx& c) {
    if constexpr (SHAPE == LOCAL_CONSTANT || SHAPE == ARGUMENT_CONSTANT)
      return SlotCompare<OP, SHAPE == ARGUMENT_CONSTANT>(c, k.slot, k.k);
    const RValue* p;
    if constexpr (SHAPE == SELF_CONSTANT) {
      CVariable* var = SelfFind(c, k.slot);
      if (!var) [[unlikely]]
        return -1;
      p = &var->value;
    } else {
      p = &c.locals[k.slot].value;
    }
    const RValue& v = *p;
    if (v.kind == VALUE_STRING) [[unlikely]]
      return -1;
    double y = k.k;
    if constexpr (SHAPE == LOCAL_LOCAL) {
      const RValue& w = c.locals[k.right].value;
      if (w.kind == VALUE_STRING) [[unlikely]]
        return -1;
      y = w.val;
    }
    return RealOp<OP>(v.val, y) != 0.0;
  }
  template <TokenKind OP, Shape SHAPE>
  static bool Single(const Condition& e, Ctx& c) {
    int r = One<OP, SHAPE>(e.m_compare[0], c);
    if (r < 0) [[unlikely]]
      return e.m_node->Test(c);
    return r;
  }
  // Two comparisons of plain locals with constants joined by && (AND) or ||.
  template <TokenKind OP1, TokenKind OP2, bool AND>
  static bool Pair(const Condition& e, Ctx& c) {
    int r = One<OP1, LOCAL_CONSTANT>(e.m_compare[0], c);
    if (r < 0) [[unlikely]]
      return e.m_node->Test(c);
    if (r != AND) return r;
    r = One<OP2, LOCAL_CONSTANT>(e.m_compare[1], c);
    if (r < 0) [[unlikely]]
      return e.m_node->Test(c);
    return r;
  }
  template <TokenKind OP1>
  static void ChoosePair(const Condition& e, bool (**test)(const Condition&, Ctx&));
  static bool Joined(const Condition& e, Ctx& c) {
    for (int n = 0; n < e.m_count; ++n) {
      int r = TestInPlace(c, e.m_compare[n]);
      if (r < 0) [[unlikely]]
        return e.m_node->Test(c);  // reading again is harmless: the comparisons are pure
      if (n + 1 == e.m_count || r != e.m_and) return r;  // && stops at false, || at true
    }
    return true;
  }
  static bool Always(const Condition&, Ctx&) { return true; }
  static bool Ask(const Condition& e, Ctx& c) { return e.m_node->Test(c); }
  static constexpr int MAX_COMPARE = 4;
  bool (*m_test)(const Condition&, Ctx&) = Ask;
  const Node* m_node;
  int m_count = 0;
  int m_and = 1;  // 1 for &&, 0 for ||
  Compare m_compare[MAX_COMPARE];
};

class LogicNode final : public Node {
 public:
  LogicNode(TokenKind o, Node* a, Node* b) : op(o), l(a), r(b), left(a), right(b) { shape = SHAPE_LOGIC; }
  bool Test(Ctx& c) const override {
    bool x = l.Test(c);
    if (op == TK_ANDAND && !x) return false;
    if (op == TK_OROR && x) return true;
    bool y = r.Test(c);
    return op == TK_XORXOR ? x != y : y;
  }
  double Real(Ctx& c, RValue*) const override { return Test(c) ? 1.0 : 0.0; }
  void Eval(Ctx& c, RValue* out) const override { out->val = Test(c) ? 1.0 : 0.0; }
  TokenKind op;
  Condition l;
  Condition r;
  const Node* left;
  const Node* right;
};

class UnaryNode final : public Node {
 public:
  UnaryNode(TokenKind o, Node* a) : op(o), e(a) {}
  void Eval(Ctx& c, RValue* out) const override {
    Temp a;
    e->Eval(c, &a);
    if (op == TK_NOT) {
      out->val = Value_Truth(a) ? 0.0 : 1.0;
      return;
    }
    if (a.kind == VALUE_STRING) Code_Fail("Wrong type of argument to unary %s.", op == TK_TILDE ? "~" : op == TK_PLUS ? "+" : "-");
    out->kind = VALUE_REAL;
    out->val = op == TK_MINUS ? -a.val : op == TK_TILDE ? static_cast<double>(~Convert_RoundInt64(a.val)) : a.val;
  }
  TokenKind op;
  Node* e;
};

// The value of a ChainNode: the operators applied in turn. &&, || and ^^
// (a run has only one of them) give 1 or 0 and skip the operands that
// cannot change the result.
class ChainNode final : public Node {
 public:
  ChainNode(Node* a, const std::vector<ChainLink>& rest) : first(a), links(rest) {}
  void Eval(Ctx& c, RValue* out) const override {
    TokenKind op = links.front().op;
    if (op == TK_ANDAND || op == TK_OROR || op == TK_XORXOR) {
      out->val = Test(c) ? 1.0 : 0.0;
      return;
    }
    Temp value;
    first->Eval(c, &value);
    for (const ChainLink& k : links) {
      Temp right, result;
      k.node->Eval(c, &right);
      Code_BinaryOp(k.op, value, right, &result);
      Value_Take(&value, &result);
    }
    Value_Take(out, &value);
  }
  bool Test(Ctx& c) const override {
    TokenKind op = links.front().op;
    if (op != TK_ANDAND && op != TK_OROR && op != TK_XORXOR) return Node::Test(c);
    bool x = first->Test(c);
    for (const ChainLink& k : links) {
      if ((op == TK_ANDAND && !x) || (op == TK_OROR && x)) break;
      bool y = k.node->Test(c);
      x = op == TK_XORXOR ? x != y : y;
    }
    return x;
  }
  Node* first;
  std::vector<ChainLink> links;
};
}  // namespace tree
