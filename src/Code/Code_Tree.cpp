#include "Code/Code_Tree.h"

#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <string_view>
#include <type_traits>
#include <vector>

#include "Base/Convert.h"
#include "Base/String_Helpers.h"
#include "Base/Text_Real.h"
#include "Code/Code_Main.h"
#include "Code/Function_Main.h"
#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"
#include "Code/Code_World.h"
#include "Variable/Variable_BuiltIn.h"
#include "Variable/Variable_Main.h"

int Tree_PlainSelf(const Node* n);

namespace {
CodeUnit* g_unit = nullptr;
int g_line = 0;

// Runs a statement, keeping the line for error messages and the debugger.
inline int Run(Ctx& c, const Node* s) {
  c.line = s->line;
  return s->Exec(c);
}

const char* OpText(TokenKind op) {
  switch (op) {
    case TK_PLUS: case TK_PLUSASSIGN: return "+";
    case TK_MINUS: case TK_MINUSASSIGN: return "-";
    case TK_STAR: case TK_MULASSIGN: return "*";
    case TK_SLASH: case TK_DIVASSIGN: return "/";
    case TK_DIV: return "div";
    case TK_MOD: return "mod";
    case TK_BITOR: case TK_ORASSIGN: return "|";
    case TK_BITAND: case TK_ANDASSIGN: return "&";
    case TK_BITXOR: case TK_XORASSIGN: return "^";
    case TK_SHL: return "<<";
    case TK_SHR: return ">>";
    case TK_LT: return "<";
    case TK_LE: return "<=";
    case TK_GT: return ">";
    case TK_GE: return ">=";
    default: return "operator";
  }
}

// The operator a compound assignment applies.
TokenKind CompoundOp(TokenKind op) {
  switch (op) {
    case TK_PLUSASSIGN: return TK_PLUS;
    case TK_MINUSASSIGN: return TK_MINUS;
    case TK_MULASSIGN: return TK_STAR;
    case TK_DIVASSIGN: return TK_SLASH;
    case TK_ORASSIGN: return TK_BITOR;
    case TK_ANDASSIGN: return TK_BITAND;
    case TK_XORASSIGN: return TK_BITXOR;
    default: return TK_EOF;
  }
}

int64_t Shift(TokenKind op, int64_t a, int64_t n) {
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

double RealOpRuntime(TokenKind op, double a, double b) {
  switch (op) {
#define CASE(OP) case OP: return RealOp<OP>(a, b);
    CASE(TK_PLUS) CASE(TK_MINUS) CASE(TK_STAR) CASE(TK_SLASH) CASE(TK_DIV) CASE(TK_MOD)
    CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
    CASE(TK_BITOR) CASE(TK_BITAND) CASE(TK_BITXOR) CASE(TK_SHL) CASE(TK_SHR)
#undef CASE
    default: return 0.0;
  }
}

// x + y as a new text in out, whose old text is freed after the join (it
// may be one of the parts).
void JoinTexts(const char* x, size_t nx, const char* y, size_t ny, RValue* out) {
  char* block = static_cast<char*>(MEM_ALLOC(nx + ny + 1));
  std::memcpy(block, x, nx);
  std::memcpy(block + nx, y, ny);
  block[nx + ny] = '\0';
  RValue_SetStringOwned(out, block);
}

void JoinStrings(const RValue& a, const RValue& b, RValue* out) {
  const char* x = RValue_Text(a);
  const char* y = RValue_Text(b);
  JoinTexts(x, std::strlen(x), y, std::strlen(y), out);
}
}  // namespace

namespace {
// Equality as == has it: a string never equals a real.
bool SameValue(const RValue& a, const RValue& b) {
  bool sa = a.kind == VALUE_STRING, sb = b.kind == VALUE_STRING;
  if (sa != sb) return false;
  if (!sa) return a.val == b.val;
  const char* x = RValue_Text(a);
  const char* y = RValue_Text(b);
  return *x == *y && std::strcmp(x, y) == 0;  // most texts that differ do so at once
}
}  // namespace

void Code_BinaryOp(TokenKind op, const RValue& a, const RValue& b, RValue* out) {
  bool sa = a.kind == VALUE_STRING, sb = b.kind == VALUE_STRING;
  if (op == TK_EQ || op == TK_NE) {
    RValue_SetReal(out, (SameValue(a, b) == (op == TK_EQ)) ? 1.0 : 0.0);
    return;
  }
  if (sa && sb) {
    if (op == TK_PLUS) {
      JoinStrings(a, b, out);
      return;
    }
    if (op == TK_LT || op == TK_LE || op == TK_GT || op == TK_GE) {
      int cmp = std::strcmp(RValue_Text(a), RValue_Text(b));
      RValue_SetReal(out, RealOpRuntime(op, cmp, 0));
      return;
    }
  }
  if (sa || sb) Code_Fail("Wrong type of arguments to %s.", OpText(op));
  if (IsDivision(op) && b.val == 0.0) Code_Fail("Division by zero.");
  RValue_SetReal(out, RealOpRuntime(op, a.val, b.val));
}

Node::Node() : line(g_line) {
  if (g_unit) g_unit->nodes.push_back(this);
}
void Node::Eval(Ctx&, RValue*) const {}
bool Node::Test(Ctx& c) const {
  Temp t;
  Eval(c, &t);
  return Value_Truth(t);
}
int Node::Exec(Ctx& c) const {
  Temp t;
  Eval(c, &t);
  return FLOW_NORMAL;
}

CodeUnit::~CodeUnit() {
  for (Node* n : nodes) delete n;
}

void Tree_SetUnit(CodeUnit* unit) { g_unit = unit; }
void Tree_SetLine(int line) { g_line = line; }

namespace {
// ---------------------------------------------------------------- constants
class ConstNode final : public Node {
 public:
  explicit ConstNode(const RValue& v) { RValue_Copy(&value, &v); }
  ~ConstNode() override { RValue_Free(&value); }
  void Eval(Ctx&, RValue* out) const override { Value_CopyOut(out, value); }
  double Real(Ctx&, RValue* spill) const override {
    if (value.kind != VALUE_REAL) Value_CopyOut(spill, value);
    return value.val;
  }
  const RValue* Constant() const override { return &value; }
  RValue value{};
};

// ---------------------------------------------------------------- operators

// a OP b where a or b is a string (the rare case): the string operands as
// values, the real ones as x and y.
double Mixed(TokenKind op, const RValue& a, double x, const RValue& b, double y, RValue* out) {
  RValue ra{VALUE_REAL, nullptr, x}, rb{VALUE_REAL, nullptr, y};
  Code_BinaryOp(op, a.kind == VALUE_STRING ? a : ra, b.kind == VALUE_STRING ? b : rb, out);
  return out->val;
}
const RValue kNoString{VALUE_REAL, nullptr, 0.0};

inline double Checked(TokenKind op, double x, double y) {
  if (IsDivision(op) && y == 0.0) Code_Fail("Division by zero.");
  return x;
}

// Where an operand of an operator is: a node evaluated, or a plain local or
// argument slot read in place.
enum Where : unsigned char { NODE, LOCAL, ARGUMENT };

Where WhereOf(const Node* n, int* slot) {
  if ((*slot = Tree_PlainLocal(n)) >= 0) return LOCAL;
  if ((*slot = Tree_PlainArgument(n)) >= 0) return ARGUMENT;
  return NODE;
}

template <Where W>
[[gnu::always_inline]] inline const RValue& SlotValue(Ctx& c, int slot) {
  return W == LOCAL ? c.locals[slot].value : g_ArgumentSlot[slot];
}

// a OP b where spill holds a's value and a or b is a string: the rare case.
[[gnu::noinline]] double MixedSpill(TokenKind op, RValue* spill, double x, const RValue& b, double y) {
  Temp a;
  Value_Take(&a, spill);
  return Mixed(op, a, x, b, y, spill);
}

// The value of the left side into x; a string (or a marked real) goes to
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

// A value a store can take in one node (x = x * 0.5 + i, a[i, j] = i + j).
class FusableValue : public Node {
 public:
  // The statement var = this, var being a plain local of that slot; null
  // when there is no such node.
  virtual Node* LocalSet(VarNode* var, int slot) = 0;
  // The statement var = this, var being an indexed local; null when none.
  virtual Node* IndexedSet(VarNode* var) = 0;
  // The statement return this.
  virtual Node* Returned() = 0;
};

// return of a value whose node's class is known: computed inline into the
// result (return a + b * c).
template <class VALUE>
class ReturnValueNode final : public Node {
 public:
  explicit ReturnValueNode(const VALUE* v) : value(v) {}
  // The result holds no text yet: a unit returns once.
  int Exec(Ctx& c) const override {
    c.result->val = value->Compute(c, c.result);
    c.returned = true;
    return FLOW_EXIT;
  }
  const VALUE* value;
};

template <TokenKind OP, Where L, Where R>
class LocalSetBinary;
// A store whose value node's class is known computes the value inline.
template <class V, TokenKind OP, bool CONSTANT, class VALUE = Node>
class DirectAssignNode;
template <TokenKind OP, bool CONSTANT, class VALUE = Node>
class LocalAssignNode;
class LocalIndexed;

template <class VALUE>
[[gnu::always_inline]] inline double RealOf(const Node* e, Ctx& c, RValue* spill) {
  if constexpr (std::is_same_v<VALUE, Node>) return e->Real(c, spill);
  else return static_cast<const VALUE*>(e)->Compute(c, spill);
}

// a OP b; a side that is a plain local or argument slot is read in place.
// The left value is computed into the caller's spill, so only a node on the
// right needs a value of its own.
template <TokenKind OP, Where L, Where R>
class BinaryNode final : public FusableValue {
 public:
  BinaryNode(Node* a, int as, Node* b, int bs) : l(a), r(b), ls(as), rs(bs) {}
  double Real(Ctx& c, RValue* spill) const override { return Compute(c, spill); }
  static constexpr bool kArithmetic = OP == TK_PLUS || OP == TK_MINUS || OP == TK_STAR || OP == TK_SLASH;
  Node* LocalSet(VarNode* var, int slot) override {
    if constexpr (kArithmetic) return new LocalSetBinary<OP, L, R>(var, this, slot);
    return nullptr;
  }
  Node* IndexedSet(VarNode* var) override {
    if constexpr (kArithmetic) return new DirectAssignNode<LocalIndexed, TK_ASSIGN, false, BinaryNode>(var, this);
    return nullptr;
  }
  Node* Returned() override { return new ReturnValueNode<BinaryNode>(this); }
  [[gnu::always_inline]] double Compute(Ctx& c, RValue* spill) const {
    if constexpr (L != NODE && R != NODE) {
      // Two reals read in place, the usual case, need nothing else.
      const RValue& a = SlotValue<L>(c, ls);
      const RValue& b = SlotValue<R>(c, rs);
      if ((a.kind | b.kind) == VALUE_REAL) [[likely]]
        return RealOp<OP>(Checked(OP, a.val, b.val), b.val);
      return NotReals(c, spill);
    } else if constexpr (R == NODE) {
      double x = LeftReal<L>(c, l, ls, spill);
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
    double x = LeftReal<L>(c, l, ls, spill);
    const RValue& b = SlotValue<R>(c, rs);
    double y = b.val;
    if (!BothReal(spill, b)) [[unlikely]]
      return MixedSpill(OP, spill, x, b, y);
    return RealOp<OP>(Checked(OP, x, y), y);
  }
  [[gnu::noinline]] double NotReals(Ctx& c, RValue* spill) const { return General(c, spill); }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override {
    Temp t;
    double v = Real(c, &t);
    return t.kind != VALUE_STRING && v > 0.5;
  }
  bool Comparison(Compare* out) const override {
    if (OP < TK_EQ || OP > TK_GE || L == NODE || R != LOCAL) return false;
    out->source = L == LOCAL ? Compare::LOCAL : Compare::ARGUMENT;
    out->op = OP;
    out->slot = ls;
    out->right = rs;
    return true;
  }
  Node* l;
  Node* r;
  int ls, rs;  // the slots of sides read in place
};

// A binary operator whose right side is a real constant (i < 10, n - 1),
// and its left side any node.
template <TokenKind OP>
class BinaryConstNode final : public Node {
 public:
  BinaryConstNode(Node* a, double b) : l(a), k(b), self(Tree_PlainSelf(a)) {}
  double Real(Ctx& c, RValue* spill) const override {
    double x = l->Real(c, spill);
    if (!BothReal(spill, kNoString)) [[unlikely]]
      return MixedSpill(OP, spill, x, kNoString, k);
    return RealOp<OP>(x, k);
  }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override {
    Temp t;
    double v = Real(c, &t);
    return t.kind != VALUE_STRING && v > 0.5;
  }
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

// OP with a plain local (or argument slot) on the left and a real constant
// on the right: the commonest shape of loop tests and steps.
template <TokenKind OP, bool ARGUMENT>
class LocalConstNode final : public Node {
 public:
  LocalConstNode(int s, double b) : slot(s), k(b) {}
  bool Comparison(Compare* out) const override {
    if (OP < TK_EQ || OP > TK_GE) return false;
    out->source = ARGUMENT ? Compare::ARGUMENT : Compare::LOCAL;
    out->op = OP;
    out->slot = slot;
    out->k = k;
    return true;
  }
  const RValue& Source(Ctx& c) const { return ARGUMENT ? g_ArgumentSlot[slot] : c.locals[slot].value; }
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
  int slot;
  double k;
};

template <TokenKind OP, bool ARGUMENT>
bool SlotArithmeticOf(const Node* n, SlotArithmetic* out) {
  auto* node = dynamic_cast<const LocalConstNode<OP, ARGUMENT>*>(n);
  if (!node) return false;
  *out = {ARGUMENT, OP == TK_STAR, node->slot, OP == TK_MINUS ? -node->k : node->k};
  return true;
}

template <int COUNT>
class CallNode;
// Built-in calls that the nodes of texts look into (defined with the calls).
// The argument of a one-argument call of `string`, else null.
const Node* StringCallArgument(const Node* n);
// n when it is a call of `string_char_at`, else null.
const CallNode<2>* CharAtCall(const Node* n);
// Argument k of a call of two as the call takes it: a plain local's value
// lent as it stands, anything else evaluated into t.
RValue CallArgument(const CallNode<2>* call, Ctx& c, int k, Temp* t);

// == or != with a text constant on the right (name == "door"): the left
// value is compared where it stands, the constant is never copied. The
// character string_char_at(s, i) is compared where it lies in s.
template <TokenKind OP>
class TextEqualNode final : public Node {
 public:
  TextEqualNode(Node* a, const RValue& b) : l(a), k(b), charAt(CharAtCall(a)), text(RValue_Text(b)) {}
  double Real(Ctx& c, RValue* spill) const override {
    if (charAt) return CharAtIs(c) == (OP == TK_EQ) ? 1.0 : 0.0;
    Temp a;
    return SameValue(*l->Read(c, &a), k) == (OP == TK_EQ) ? 1.0 : 0.0;
  }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override { return Real(c, nullptr) > 0.5; }
  Node* l;
  const RValue& k;  // the constant node's value, which lives as long as this node
  const CallNode<2>* charAt;
  std::string_view text;  // the constant's text

 private:
  // string_char_at(s, i) == k as string_char_at gives the character: none
  // unless s is a string and i a real.
  bool CharAtIs(Ctx& c) const {
    Temp t0, t1;
    RValue s = CallArgument(charAt, c, 0, &t0);
    RValue i = CallArgument(charAt, c, 1, &t1);
    std::string_view ch;
    if (s.kind == VALUE_STRING && i.kind == VALUE_REAL) ch = String_CharAt(RValue_Text(s), i.val);
    return ch == text;
  }
};

// + with a text constant on one side ("k" + string(i), name + ".png"): the
// other value is read where it stands and the constant is never copied.
// When the other side is string(x), x's text is written straight into the
// joined text, as string() would give it, without a text of its own.
class TextJoinBase : public Node {
 public:
  // Whether the other side is string(x).
  virtual bool JoinsString() const = 0;
  // For string(x) on the other side: the joined text written into buf when
  // it fits in size bytes (out then shows buf), else made into a text of
  // out's own as Eval makes it; true when it lies in buf.
  virtual bool JoinStringInto(Ctx& c, char* buf, size_t size, RValue* out) const = 0;
};

template <bool CONSTANT_LEFT>
class TextJoinNode final : public TextJoinBase {
 public:
  TextJoinNode(Node* n, const RValue& text)
      : other(n), number(StringCallArgument(n)), k(text), kLength(std::strlen(RValue_Text(text))) {
    if (kLength < sizeof kPadded) std::memcpy(kPadded, RValue_Text(text), kLength);
  }
  double Real(Ctx& c, RValue* spill) const override {
    if (number) return JoinString(c, spill);
    Temp t;
    const RValue* v = other->Read(c, &t);
    if (v->kind != VALUE_STRING) {  // the error of mixing a string with a real
      Code_BinaryOp(TK_PLUS, CONSTANT_LEFT ? k : *v, CONSTANT_LEFT ? *v : k, spill);
      return spill->val;
    }
    const char* x = RValue_Text(*v);
    size_t n = std::strlen(x);
    // A text just made for this join mostly has room for the constant too:
    // it is joined where it lies.
    if (v == &t && t.str && MemoryManager::ResizeInPlace(t.str, kLength + n + 1)) {
      if (CONSTANT_LEFT) {
        std::memmove(t.str + kLength, t.str, n + 1);
        std::memcpy(t.str, RValue_Text(k), kLength);
      } else {
        std::memcpy(t.str + n, RValue_Text(k), kLength + 1);
      }
      Value_Take(spill, &t);
    } else {
      Join(x, n, spill);
    }
    return 0.0;
  }
  void Eval(Ctx& c, RValue* out) const override { Real(c, out); }
  bool Test(Ctx& c) const override {
    Temp t;
    double v = Real(c, &t);
    return t.kind != VALUE_STRING && v > 0.5;
  }
  Node* other;
  const Node* number;  // x when the other side is string(x), else null
  const RValue& k;     // the constant node's value, which lives as long as this node
  size_t kLength;
  char kPadded[16] = {};  // a short constant's text and zeros, copied whole

 private:
  void Join(const char* x, size_t n, RValue* out) const {
    if (CONSTANT_LEFT) JoinTexts(RValue_Text(k), kLength, x, n, out);
    else JoinTexts(x, n, RValue_Text(k), kLength, out);
  }
  // The constant joined with string(x): a text as it is, a whole number's
  // digits, else the two decimals of Real_ToText.
  double JoinString(Ctx& c, RValue* spill) const {
    JoinStringInto(c, nullptr, 0, spill);
    return 0.0;
  }

 public:
  bool JoinsString() const override { return number != nullptr; }
  bool JoinStringInto(Ctx& c, char* buf, size_t size, RValue* out) const override {
    Temp t;
    const RValue* v = number->Read(c, &t);
    char digits[12];
    size_t n;
    if (v->kind == VALUE_STRING || !(n = Real_ToWholeText(v->val, digits))) return JoinOther(*v, buf, size, out);
    if (kLength >= sizeof kPadded || size < sizeof kPadded + sizeof digits) return Place(digits, n, buf, size, out);
    // Copies of fixed size, past the text's end (which buf has room for).
    if (CONSTANT_LEFT) {
      std::memcpy(buf, kPadded, sizeof kPadded);
      std::memcpy(buf + kLength, digits, sizeof digits);
      buf[kLength + n] = '\0';
    } else {
      std::memcpy(buf, digits, sizeof digits);
      std::memcpy(buf + n, kPadded, sizeof kPadded);
    }
    ShowText(buf, out);
    return true;
  }

 private:
  // string(x) of a text or of a real with decimals joined.
  [[gnu::noinline]] bool JoinOther(const RValue& v, char* buf, size_t size, RValue* out) const {
    if (v.kind == VALUE_STRING) {
      const char* x = RValue_Text(v);
      return Place(x, std::strlen(x), buf, size, out);
    }
    std::string text = Real_ToText(v.val);
    return Place(text.data(), text.size(), buf, size, out);
  }
  // The join of x's n bytes in buf when it fits, else in a text of out's own.
  bool Place(const char* x, size_t n, char* buf, size_t size, RValue* out) const {
    if (kLength + n >= size) {
      Join(x, n, out);
      return false;
    }
    std::memcpy(buf + (CONSTANT_LEFT ? 0 : n), RValue_Text(k), kLength);
    std::memcpy(buf + (CONSTANT_LEFT ? kLength : 0), x, n);
    buf[kLength + n] = '\0';
    ShowText(buf, out);
    return true;
  }
  // out, a cleared argument, shows the text in buf.
  static void ShowText(char* buf, RValue* out) {
    out->kind = VALUE_STRING;
    out->str = buf;
    out->val = 0.0;
  }
};

// A plain name's variable of self (the global one once some code declared
// the name with globalvar); null when none is stored.
[[gnu::always_inline]] inline CVariable* SelfFind(Ctx& c, int id) {
  if (g_VariableGlobalDeclared && Variable_IsDeclaredGlobal(id)) [[unlikely]]
    return Variable_Globals().Find(id);
  CVariableList* list = c.self ? c.self->vars : nullptr;
  return list ? list->Find(id) : nullptr;
}

// 1 or 0, the outcome of the comparison, or -1 when it cannot be made in
// place (a string, or a variable not stored): the node then decides.
[[gnu::always_inline]] inline int TestInPlace(Ctx& c, const Compare& k) {
  const RValue* v;
  if (k.source == Compare::LOCAL) {
    v = &c.locals[k.slot].value;
  } else if (k.source == Compare::ARGUMENT) {
    v = &g_ArgumentSlot[k.slot];
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
  switch (k.op) {
    case TK_EQ: return x == y;
    case TK_NE: return x != y;
    case TK_LT: return x < y;
    case TK_LE: return x <= y;
    case TK_GT: return x > y;
    default: return x >= y;
  }
}

// 1 or 0, a plain local (or argument slot) compared with a real constant,
// or -1 when the slot holds a string and the node must decide.
template <TokenKind OP, bool ARGUMENT>
[[gnu::always_inline]] inline int SlotCompare(Ctx& c, int slot, double k) {
  const RValue& v = ARGUMENT ? g_ArgumentSlot[slot] : c.locals[slot].value;
  if (v.kind == VALUE_STRING) [[unlikely]]
    return -1;
  return RealOp<OP>(v.val, k) != 0.0;
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
  LogicNode(TokenKind o, Node* a, Node* b) : op(o), l(a), r(b), left(a), right(b) {}
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

Condition::Condition(const Node* n) : m_node(n) {
  if (!n) {
    m_test = Always;
    return;
  }
  auto* logic = dynamic_cast<const LogicNode*>(n);
  TokenKind join = logic && logic->op != TK_XORXOR ? logic->op : TK_EOF;
  m_and = join != TK_OROR;
  if (!Gather(n, join)) return;
  m_test = Joined;
  const Compare& k = m_compare[0];
  auto plain = [](const Compare& x) { return x.source == Compare::LOCAL && x.right < 0; };
  if (m_count == 2 && plain(k) && plain(m_compare[1])) {
    switch (k.op) {
#define CASE(OP) case OP: ChoosePair<OP>(*this, &m_test); break;
      CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
      default: break;
    }
    return;
  }
  if (m_count != 1 || (k.right >= 0 && k.source != Compare::LOCAL)) return;
  Shape shape = k.right >= 0                         ? LOCAL_LOCAL
                : k.source == Compare::ARGUMENT ? ARGUMENT_CONSTANT
                : k.source == Compare::SELF     ? SELF_CONSTANT
                                                : LOCAL_CONSTANT;
  switch (k.op) {
#define CASE(OP)                                                            \
  case OP:                                                                  \
    m_test = shape == LOCAL_LOCAL         ? Single<OP, LOCAL_LOCAL>         \
             : shape == ARGUMENT_CONSTANT ? Single<OP, ARGUMENT_CONSTANT> \
             : shape == SELF_CONSTANT     ? Single<OP, SELF_CONSTANT>     \
                                          : Single<OP, LOCAL_CONSTANT>;     \
    break;
    CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
    default: break;
  }
}

template <TokenKind OP1>
void Condition::ChoosePair(const Condition& e, bool (**test)(const Condition&, Ctx&)) {
  bool both = e.m_and;
  switch (e.m_compare[1].op) {
#define CASE(OP) case OP: *test = both ? Pair<OP1, OP, true> : Pair<OP1, OP, false>; break;
    CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
    default: break;
  }
}

// Collects the comparisons of n, a comparison or a run of them joined by
// join, in the order they are tested; false when some part is no comparison.
bool Condition::Gather(const Node* n, TokenKind join) {
  auto* logic = dynamic_cast<const LogicNode*>(n);
  if (logic && logic->op == join) return Gather(logic->left, join) && Gather(logic->right, join);
  if (m_count == MAX_COMPARE || !n->Comparison(&m_compare[m_count])) return false;
  ++m_count;
  return true;
}

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

template <TokenKind OP>
Node* MakeBinary(Node* a, Node* b) {
  const RValue* k = b->Constant();
  if (k && k->kind != VALUE_STRING && !(IsDivision(OP) && k->val == 0.0)) {
    int slot = Tree_PlainLocal(a);
    if (slot >= 0) return new LocalConstNode<OP, false>(slot, k->val);
    slot = Tree_PlainArgument(a);
    if (slot >= 0) return new LocalConstNode<OP, true>(slot, k->val);
    return new BinaryConstNode<OP>(a, k->val);
  }
  if constexpr (OP == TK_EQ || OP == TK_NE) {
    if (k) return new TextEqualNode<OP>(a, *k);
  }
  if constexpr (OP == TK_PLUS) {
    if (k) return new TextJoinNode<false>(a, *k);
    const RValue* first = a->Constant();
    if (first && first->kind == VALUE_STRING) return new TextJoinNode<true>(b, *first);
  }
  int as, bs;
  Where wa = WhereOf(a, &as), wb = WhereOf(b, &bs);
#define SIDES(L, R) \
  if (wa == L && wb == R) return new BinaryNode<OP, L, R>(a, as, b, bs);
  SIDES(LOCAL, LOCAL) SIDES(LOCAL, ARGUMENT) SIDES(LOCAL, NODE)
  SIDES(ARGUMENT, LOCAL) SIDES(ARGUMENT, ARGUMENT) SIDES(ARGUMENT, NODE)
  SIDES(NODE, LOCAL) SIDES(NODE, ARGUMENT)
#undef SIDES
  return new BinaryNode<OP, NODE, NODE>(a, -1, b, -1);
}

// Folds a constant operation unless it would raise an error at run time.
bool FoldBinary(TokenKind op, const RValue& a, const RValue& b, RValue* out) {
  bool sa = a.kind == VALUE_STRING, sb = b.kind == VALUE_STRING;
  if (op == TK_ANDAND || op == TK_OROR || op == TK_XORXOR) {
    bool x = Value_Truth(a), y = Value_Truth(b);
    RValue_SetReal(out, (op == TK_ANDAND ? x && y : op == TK_OROR ? x || y : x != y) ? 1.0 : 0.0);
    return true;
  }
  if (sa != sb && op != TK_EQ && op != TK_NE) return false;
  if (sa && sb && !(op == TK_PLUS || (op >= TK_EQ && op <= TK_GE))) return false;
  if (!sa && !sb && IsDivision(op) && b.val == 0.0) return false;
  Code_BinaryOp(op, a, b, out);
  return true;
}
}  // namespace

Node* Tree_Const(const RValue& value) { return new ConstNode(value); }

bool Tree_SlotArithmetic(const Node* n, SlotArithmetic* out) {
  return SlotArithmeticOf<TK_PLUS, false>(n, out) || SlotArithmeticOf<TK_PLUS, true>(n, out) ||
         SlotArithmeticOf<TK_MINUS, false>(n, out) || SlotArithmeticOf<TK_MINUS, true>(n, out) ||
         SlotArithmeticOf<TK_STAR, false>(n, out) || SlotArithmeticOf<TK_STAR, true>(n, out);
}

Node* Tree_Unary(TokenKind op, Node* a) {
  const RValue* k = a->Constant();
  if (k && (k->kind != VALUE_STRING || op == TK_NOT)) {
    double v = op == TK_NOT ? (Value_Truth(*k) ? 0.0 : 1.0)
               : op == TK_MINUS ? -k->val
               : op == TK_TILDE ? static_cast<double>(~Convert_RoundInt64(k->val))
                                : k->val;
    RValue r{VALUE_REAL, nullptr, v};
    return new ConstNode(r);
  }
  return new UnaryNode(op, a);
}

Node* Tree_Binary(TokenKind op, Node* a, Node* b) {
  if (a->Constant() && b->Constant()) {
    RValue r{};
    if (FoldBinary(op, *a->Constant(), *b->Constant(), &r)) {
      Node* n = new ConstNode(r);
      RValue_Free(&r);
      return n;
    }
  }
  switch (op) {
    case TK_OROR: case TK_ANDAND: case TK_XORXOR: return new LogicNode(op, a, b);
#define CASE(OP) case OP: return MakeBinary<OP>(a, b);
    CASE(TK_PLUS) CASE(TK_MINUS) CASE(TK_STAR) CASE(TK_SLASH) CASE(TK_DIV) CASE(TK_MOD)
    CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
    CASE(TK_BITOR) CASE(TK_BITAND) CASE(TK_BITXOR) CASE(TK_SHL) CASE(TK_SHR)
#undef CASE
    default: return new BinaryNode<TK_PLUS, NODE, NODE>(a, -1, b, -1);
  }
}

Node* Tree_Chain(Node* first, const std::vector<ChainLink>& links) {
  // A constant start folds as the operators one by one would fold it.
  size_t k = 0;
  for (; k < links.size() && first->Constant() && links[k].node->Constant(); k++)
    first = Tree_Binary(links[k].op, first, links[k].node);
  if (k == links.size()) return first;
  return new ChainNode(first, std::vector<ChainLink>(links.begin() + static_cast<long>(k), links.end()));
}

// ---------------------------------------------------------------- variables
namespace {
// An index that is no whole number from 0 to 31999: rounded, or an error.
[[gnu::noinline]] int IndexRounded(bool text, double d, const std::string& name) {
  if (text) Code_Fail("Array index of %s must be a number.", name.c_str());
  int k = Convert_RoundInt(d);
  if (k < 0) Code_Fail("Negative array index for %s.", name.c_str());
  if (k >= ARRAY_DIMENSION) Code_Fail("Array index >= 32000 for %s.", name.c_str());
  return k;
}

[[gnu::always_inline]] inline int IndexOf(Ctx& c, const Node* n, const std::string& name) {
  Temp t;
  double d = n->Real(c, &t);
  if (t.kind != VALUE_STRING && d >= 0 && d < ARRAY_DIMENSION && d == static_cast<int>(d)) [[likely]]
    return static_cast<int>(d);
  return IndexRounded(t.kind == VALUE_STRING, d, name);
}

// An index that is a plain local holding a whole number in range needs no
// evaluation.
[[gnu::always_inline]] inline int FastIndex(Ctx& c, int local, const Node* n, const std::string& name) {
  if (local >= 0) {
    const RValue& v = c.locals[local].value;
    if (v.kind == VALUE_REAL && v.val >= 0 && v.val < ARRAY_DIMENSION && v.val == static_cast<int>(v.val))
      return static_cast<int>(v.val);
  }
  return IndexOf(c, n, name);
}
}  // namespace

// a[j] is a[0, j].
[[gnu::always_inline]] inline void VarNode::Indices(Ctx& c, int* i, int* j) const {
  if (index2) {
    *i = FastIndex(c, local1, index1, name);
    *j = FastIndex(c, local2, index2, name);
  } else {
    *i = 0;
    *j = index1 ? FastIndex(c, local1, index1, name) : 0;
  }
}

namespace {
// Reads element (i, j) of a stored variable, with the unknown-variable rule.
void ReadStored(const VarNode* n, CVariable* v, int i, int j, RValue* out) {
  if (!v) {
    if (g_GameOptions.unknown_variables_zero) return;
    Code_Fail("Unknown variable %s", n->name.c_str());
  }
  const RValue* e = Variable_Element(v, i, j);
  if (!e) {
    if (g_GameOptions.unknown_variables_zero) return;
    Code_Fail("Unknown array element %s[%d,%d]", n->name.c_str(), i, j);
  }
  Value_CopyOut(out, *e);
}

// Appends text to the string e in its own block, which grows by doubling:
// a string built piece by piece is copied a few times, not once per piece.
void AppendInPlace(RValue* e, const char* text) {
  size_t have = std::strlen(e->str), add = std::strlen(text);
  size_t need = have + add + 1;
  size_t room = MemoryManager::GetSize(e->str);
  if (need > room) {
    size_t grown = room * 2 > need ? room * 2 : need;
    char* block = static_cast<char*>(MEM_REALLOC(e->str, grown));
    if (!block) Code_Fail("Out of memory for a string of %zu bytes.", need);
    e->str = block;
  }
  std::memcpy(e->str + have, text, add + 1);
}

// Old value of an increment (TK_INC) or decrement (TK_DEC) of e, which is
// stepped by one.
void Step(const VarNode* n, RValue* e, TokenKind op, RValue* old) {
  if (e->kind == VALUE_STRING)
    Code_Fail("Cannot %s the string %s.", op == TK_INC ? "increment" : "decrement", n->name.c_str());
  old->kind = VALUE_REAL;
  old->val = e->val;
  e->kind = VALUE_REAL;
  e->val += op == TK_INC ? 1.0 : -1.0;
}

// Stores value (consumed) into e, combining with its old value for compound
// ops; TK_INC and TK_DEC step e and leave its old value in value.
void Store(const VarNode* n, RValue* e, TokenKind op, RValue* value) {
  if (op == TK_ASSIGN) {
    Value_Take(e, value);
    return;
  }
  if (op == TK_INC || op == TK_DEC) return Step(n, e, op, value);
  if (op == TK_PLUSASSIGN && e->kind == VALUE_STRING && e->str && value->kind == VALUE_STRING)
    return AppendInPlace(e, RValue_Text(*value));
  Temp r;
  Code_BinaryOp(CompoundOp(op), *e, *value, &r);
  Value_Take(e, &r);
}

// Writes into a stored variable; compound ops read it first (unknown rule).
[[gnu::always_inline]] inline void WriteStored(const VarNode* n, CVariable* v, int i, int j, TokenKind op, RValue* value) {
  if (op == TK_ASSIGN) [[likely]]
    return Value_Take(Variable_ElementGrow(v, i, j), value);
  if (!Variable_Element(v, i, j) && !g_GameOptions.unknown_variables_zero)
    Code_Fail(n->index1 ? "Unknown array element %s[%d,%d]" : "Unknown variable %s", n->name.c_str(), i, j);
  Store(n, Variable_ElementGrow(v, i, j), op, value);
}

CVariableList* ListOf(CInstance* inst, bool create) {
  if (!inst) return nullptr;
  if (!inst->vars && create) inst->vars = new CVariableList;
  return inst->vars;
}

// Variables kept in a CVariable: locals, self's and the globals.
class StoredVar : public VarNode {
 public:
  virtual CVariable* Find(Ctx& c, bool create) const = 0;
  void Eval(Ctx& c, RValue* out) const override {
    int i, j;
    Indices(c, &i, &j);
    ReadStored(this, Find(c, false), i, j, out);
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    int i, j;
    Indices(c, &i, &j);
    CVariable* v = Find(c, false);
    if (!v) {
      if (op != TK_ASSIGN && !g_GameOptions.unknown_variables_zero) Code_Fail("Unknown variable %s", name.c_str());
      v = Find(c, true);
      if (!v) Code_Fail("No instance to hold variable %s", name.c_str());
    }
    WriteStored(this, v, i, j, op, value);
  }
};

class LocalVar : public StoredVar {
 public:
  explicit LocalVar(int s) : slot(s) {}
  CVariable* Find(Ctx& c, bool) const override { return &c.locals[slot]; }
  int slot;
};

// A local read without indices: the hot path of loops.
class LocalRead final : public LocalVar {
 public:
  using LocalVar::LocalVar;
  void Eval(Ctx& c, RValue* out) const override {
    if (index1) return LocalVar::Eval(c, out);
    Value_CopyOut(out, c.locals[slot].value);
  }
  double Real(Ctx& c, RValue* spill) const override {
    const RValue& v = c.locals[slot].value;
    if (index1 || v.kind != VALUE_REAL) {  // strings and marked reals as values
      Eval(c, spill);
      return spill->val;
    }
    return v.val;
  }
  const RValue* Read(Ctx& c, RValue* spill) const override {
    if (index1) return Node::Read(c, spill);
    return &c.locals[slot].value;
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    if (index1) return LocalVar::Assign(c, op, value);
    Store(this, &c.locals[slot].value, op, value);
  }
};

class GlobalVar final : public StoredVar {
 public:
  explicit GlobalVar(int i) : id(i) {}
  CVariable* Find(Ctx&, bool create) const override {
    return create ? Variable_Globals().FindOrAdd(id) : Variable_Globals().Find(id);
  }
  int id;
};

class InstanceVar final : public StoredVar {
 public:
  InstanceVar(int i, int w) : id(i), which(w) {}
  CVariable* Find(Ctx& c, bool create) const override {
    CInstance* inst = which == -2 ? c.other : c.self;
    CVariableList* list = ListOf(inst, create);
    if (!list) return nullptr;
    return create ? list->FindOrAdd(id) : list->Find(id);
  }
  int id;
  int which;
};

// A plain name: the global when some code declared it with globalvar, else self's.
class SelfVar final : public StoredVar {
 public:
  explicit SelfVar(int i) : id(i) {}
  CVariable* Find(Ctx& c, bool create) const override {
    if (!create) return SelfFind(c, id);
    bool global = g_VariableGlobalDeclared && Variable_IsDeclaredGlobal(id);
    CVariableList* list = global ? &Variable_Globals() : ListOf(c.self, create);
    if (!list) return nullptr;
    return list->FindOrAdd(id);
  }
  // Reals without indices skip the value copies.
  double Real(Ctx& c, RValue* spill) const override {
    if (!index1) {
      CVariable* v = SelfFind(c, id);
      if (v && v->value.kind == VALUE_REAL) return v->value.val;
    }
    Eval(c, spill);
    return spill->val;
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override { Put(c, op, value); }
  // Assign, made inline where the operator is known.
  [[gnu::always_inline]] void Put(Ctx& c, TokenKind op, RValue* value) const {
    if (!index1 && (value->kind == VALUE_REAL || IsStep(op))) {
      CVariable* v = SelfFind(c, id);
      if (v && v->value.kind != VALUE_STRING) {
        RValue& e = v->value;
        switch (op) {
          case TK_ASSIGN: e.kind = VALUE_REAL; e.val = value->val; return;
          case TK_PLUSASSIGN: e.kind = VALUE_REAL; e.val += value->val; return;
          case TK_MINUSASSIGN: e.kind = VALUE_REAL; e.val -= value->val; return;
          case TK_INC: case TK_DEC: return Step(this, &e, op, value);
          default: break;
        }
      }
    }
    StoredVar::Assign(c, op, value);
  }
  int id;
};

// The instances a target value names, in a list reused per nesting level.
class TargetList {
 public:
  TargetList() {
    if (s_depth >= static_cast<int>(s_pool.size())) s_pool.emplace_back();
    list = &s_pool[s_depth++];
    list->clear();
  }
  ~TargetList() { --s_depth; }
  std::vector<CInstance*>* list;

 private:
  static inline std::deque<std::vector<CInstance*>> s_pool;  // stable addresses
  static inline int s_depth = 0;
};

int TargetOf(Ctx& c, Node* target) {
  Temp t;
  target->Eval(c, &t);
  if (t.kind == VALUE_STRING) Code_Fail("Instance or object expected, not a string.");
  return Convert_RoundInt(t.val);
}

// N.name with N evaluated at run time.
class TargetVar final : public VarNode {
 public:
  TargetVar(Node* t, int i) : target(t), id(i) {}
  void Eval(Ctx& c, RValue* out) const override {
    int who = TargetOf(c, target);
    int i, j;
    Indices(c, &i, &j);
    if (who == TARGET_GLOBAL) return ReadStored(this, Variable_Globals().Find(id), i, j, out);
    TargetList targets;
    Code_CollectTargets(who, c.self, c.other, *targets.list);
    if (targets.list->empty()) Code_Fail("Unable to find any instance for object index %d to read %s", who, name.c_str());
    CVariableList* list = targets.list->front()->vars;
    ReadStored(this, list ? list->Find(id) : nullptr, i, j, out);
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    int who = TargetOf(c, target);
    int i, j;
    Indices(c, &i, &j);
    if (who == TARGET_GLOBAL) {
      if (op != TK_ASSIGN && !Variable_Globals().Find(id) && !g_GameOptions.unknown_variables_zero)
        Code_Fail("Unknown variable %s", name.c_str());
      return WriteStored(this, Variable_Globals().FindOrAdd(id), i, j, op, value);
    }
    TargetList targets;
    Code_CollectTargets(who, c.self, c.other, *targets.list);
    bool first = true;
    for (CInstance* inst : *targets.list) {
      Temp copy;
      if (!IsStep(op)) Value_CopyOut(&copy, *value);
      CVariableList* list = ListOf(inst, true);
      if (op != TK_ASSIGN && !list->Find(id) && !g_GameOptions.unknown_variables_zero)
        Code_Fail("Unknown variable %s", name.c_str());
      WriteStored(this, list->FindOrAdd(id), i, j, op, &copy);
      if (IsStep(op) && first) *value = copy;  // the old value of the first: a real
      first = false;
    }
  }
  Node* target;
  int id;
};

// A built-in variable, through its getter and setter.
class BuiltInVar final : public VarNode {
 public:
  BuiltInVar(const RVariableRoutine* r, Node* t) : routine(r), target(t) {}
  bool Settable() const override { return routine->canset && routine->set; }
  void Eval(Ctx& c, RValue* out) const override {
    int i, j;
    Indices(c, &i, &j);
    CInstance* inst = target ? Reader(c) : c.self;
    if (routine->get) routine->get(inst, i * ARRAY_DIMENSION + j, out);
  }
  // The instance other.x, obj.x ... reads: the first the target names.
  CInstance* Reader(Ctx& c) const {
    int who = TargetOf(c, target);
    if (who == TARGET_GLOBAL) return c.self;
    TargetList targets;
    Code_CollectTargets(who, c.self, c.other, *targets.list);
    if (targets.list->empty()) Code_Fail("Unable to find any instance for object index %d to read %s", who, name.c_str());
    return targets.list->front();
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    int i, j;
    Indices(c, &i, &j);
    if (!target) return Set(c.self, i * ARRAY_DIMENSION + j, op, value);
    int who = TargetOf(c, target);
    if (who == TARGET_GLOBAL) return Set(c.self, i * ARRAY_DIMENSION + j, op, value);
    TargetList targets;
    Code_CollectTargets(who, c.self, c.other, *targets.list);
    RValue firstOld{VALUE_REAL, nullptr, value->val};
    bool first = true;
    for (CInstance* inst : *targets.list) {
      Set(inst, i * ARRAY_DIMENSION + j, op, value);
      if (first) firstOld.val = value->val;
      first = false;
    }
    if (IsStep(op)) *value = firstOld;
  }
  // Sets the built-in on inst; a step leaves the old value in value.
  void Set(CInstance* inst, int index, TokenKind op, RValue* value) const {
    Temp v;
    if (op == TK_ASSIGN) {
      Value_CopyOut(&v, *value);
    } else if (IsStep(op)) {
      if (routine->get) routine->get(inst, index, &v);
      Step(this, &v, op, value);
    } else {
      Temp old;
      if (routine->get) routine->get(inst, index, &old);
      Code_BinaryOp(CompoundOp(op), old, *value, &v);
    }
    routine->set(inst, index, &v);
  }
  const RVariableRoutine* routine;
  Node* target;
};

class ArgumentVar final : public VarNode {
 public:
  explicit ArgumentVar(int s) : slot(s) {}
  int Slot(Ctx& c) const {
    if (slot >= 0) [[likely]] return slot;
    int i, j;
    Indices(c, &i, &j);
    int k = i * ARRAY_DIMENSION + j;
    if (k >= 16) Code_Fail("Argument index %d out of range.", k);
    return k;
  }
  void Eval(Ctx& c, RValue* out) const override { Value_CopyOut(out, g_ArgumentSlot[Slot(c)]); }
  double Real(Ctx& c, RValue* spill) const override {
    const RValue& v = g_ArgumentSlot[Slot(c)];
    if (v.kind != VALUE_REAL) Value_CopyOut(spill, v);
    return v.val;
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    int k = Slot(c);
    Store(this, &g_ArgumentSlot[k], op, value);
    if (k >= g_ArgumentCounts.used) g_ArgumentCounts.used = k + 1;
  }
  int slot;  // -1: argument[index]
};
}  // namespace

VarNode* Tree_Local(int slot) { return new LocalRead(slot); }

namespace {
// An indexed local: a[i] or a[i, j] with a declared by var.
class LocalIndexed final : public VarNode {
 public:
  explicit LocalIndexed(int s) : slot(s) {}
  void Eval(Ctx& c, RValue* out) const override {
    int i, j;
    Indices(c, &i, &j);
    ReadStored(this, &c.locals[slot], i, j, out);
  }
  double Real(Ctx& c, RValue* spill) const override { return Compute(c, spill); }
  [[gnu::always_inline]] double Compute(Ctx& c, RValue* spill) const {
    int i, j;
    if (PlainIndices(c, &i, &j)) [[likely]] {
      const RValue* e = Variable_Element(&c.locals[slot], i, j);
      if (e && e->kind == VALUE_REAL) [[likely]]
        return e->val;
    }
    return RealSlow(c, spill);
  }
  [[gnu::noinline]] double RealSlow(Ctx& c, RValue* spill) const {
    int i, j;
    Indices(c, &i, &j);
    const RValue* e = Variable_Element(&c.locals[slot], i, j);
    if (e && e->kind == VALUE_REAL) return e->val;
    ReadStored(this, &c.locals[slot], i, j, spill);
    return spill->val;
  }
  const RValue* Read(Ctx& c, RValue* spill) const override {
    if (index2 || local1 >= 0) return ReadIndices(c, spill);
    // a[e]: e is evaluated into spill, which the caller frees.
    double d = index1->Real(c, spill);
    if (spill->kind != VALUE_REAL || !(d >= 0 && d < ARRAY_DIMENSION) || d != static_cast<int>(d)) [[unlikely]]
      return ReadRounded(c, d, spill);
    const RValue* e = Variable_Element(&c.locals[slot], 0, static_cast<int>(d));
    if (!e) [[unlikely]]
      return ReadRounded(c, d, spill);
    return e;
  }
  // a[e] where e is no whole number in range, or the element is not stored.
  [[gnu::noinline]] const RValue* ReadRounded(Ctx& c, double d, RValue* spill) const {
    int j = IndexRounded(spill->kind == VALUE_STRING, d, name);
    *spill = RValue{VALUE_REAL, nullptr, 0.0};  // holds no text here
    return ReadAt(c, 0, j, spill);
  }
  [[gnu::noinline]] const RValue* ReadIndices(Ctx& c, RValue* spill) const {
    int i, j;
    Indices(c, &i, &j);
    return ReadAt(c, i, j, spill);
  }
  const RValue* ReadAt(Ctx& c, int i, int j, RValue* spill) const {
    if (const RValue* e = Variable_Element(&c.locals[slot], i, j)) return e;
    ReadStored(this, &c.locals[slot], i, j, spill);
    return spill;
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override { Put(c, op, value); }
  // Assign, made inline where the operator is known.
  [[gnu::always_inline]] void Put(Ctx& c, TokenKind op, RValue* value) const {
    int i, j;
    if (op == TK_ASSIGN && PlainIndices(c, &i, &j)) [[likely]]
      return Value_Take(Variable_ElementGrow(&c.locals[slot], i, j), value);
    PutSlow(c, op, value);
  }
  [[gnu::noinline]] void PutSlow(Ctx& c, TokenKind op, RValue* value) const {
    int i, j;
    Indices(c, &i, &j);
    WriteStored(this, &c.locals[slot], i, j, op, value);
  }
  // The indices when they are plain locals holding whole numbers in range
  // (the usual case in loops); else false and the general path decides.
  [[gnu::always_inline]] bool PlainIndices(Ctx& c, int* i, int* j) const {
    if (plain == 2) return WholeIndex(c.locals[local1].value, i) && WholeIndex(c.locals[local2].value, j);
    *i = 0;
    return plain == 1 && WholeIndex(c.locals[local1].value, j);
  }
  // True with the index when v is a real holding a whole number 0 .. 31999.
  [[gnu::always_inline]] static bool WholeIndex(const RValue& v, int* k) {
    // As unsigned bits, the reals from +0 up to 32000 (not -0, not NaN) are
    // those below the bits of 32000: one comparison tells the range.
    uint64_t bits;
    std::memcpy(&bits, &v.val, sizeof bits);
    if (v.kind != VALUE_REAL || bits >= kIndexEndBits) return false;
    *k = static_cast<int>(v.val);
    return *k == v.val;
  }
  static constexpr uint64_t kIndexEndBits = 0x40DF400000000000ull;  // 32000.0
  int plain = 0;  // how many indices there are when all are plain locals, else 0
  int slot;
};
}  // namespace

VarNode* Tree_Index(VarNode* var, Node* index1, Node* index2) {
  if (auto* local = dynamic_cast<LocalRead*>(var)) {
    auto* indexed = new LocalIndexed(local->slot);
    indexed->name = var->name;
    var = indexed;
  }
  var->index1 = index1;
  var->index2 = index2;
  var->local1 = index1 ? Tree_PlainLocal(index1) : -1;
  var->local2 = index2 ? Tree_PlainLocal(index2) : -1;
  if (auto* indexed = dynamic_cast<LocalIndexed*>(var))
    indexed->plain = var->local1 < 0 ? 0 : !index2 ? 1 : var->local2 < 0 ? 0 : 2;
  return var;
}
int Tree_PlainArgument(const Node* n) {
  auto* argument = dynamic_cast<const ArgumentVar*>(n);
  return argument ? argument->slot : -1;
}
int Tree_PlainSelf(const Node* n) {
  auto* self = dynamic_cast<const SelfVar*>(n);
  return self && !self->index1 ? self->id : -1;
}
int Tree_PlainLocal(const Node* n) {
  auto* local = dynamic_cast<const LocalRead*>(n);
  return local && !local->index1 ? local->slot : -1;
}
VarNode* Tree_Argument(int slot) { return new ArgumentVar(slot); }
VarNode* Tree_ArgumentArray() { return new ArgumentVar(-1); }
VarNode* Tree_BuiltIn(int index, Node* target) { return new BuiltInVar(Variable_BuiltIn_Get(index), target); }
VarNode* Tree_SelfVar(int id) { return new SelfVar(id); }
VarNode* Tree_InstanceVar(int id, int which) { return new InstanceVar(id, which); }
VarNode* Tree_GlobalVar(int id) { return new GlobalVar(id); }
VarNode* Tree_TargetVar(Node* target, int id) { return new TargetVar(target, id); }

// ---------------------------------------------------------------- assignment and calls
namespace {
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
template <class V, TokenKind OP, bool CONSTANT, class VALUE>
class DirectAssignNode final : public AssignNode {
 public:
  DirectAssignNode(VarNode* v, Node* e) : AssignNode(v, OP, e), k(CONSTANT ? e->Constant()->val : 0.0) {}
  int Exec(Ctx& c) const override {
    Temp t;
    if constexpr (CONSTANT) {
      t.val = k;
    } else {
      double v = RealOf<VALUE>(value, c, &t);
      if (t.kind != VALUE_STRING) t.val = v;
    }
    static_cast<const V*>(var)->Put(c, OP, &t);
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
template <TokenKind OP, bool CONSTANT, class VALUE>
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
  IncDecNode(VarNode* v, int d, bool p) : var(v), delta(d), prefix(p), slot(Tree_PlainLocal(v)) {}
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
// write into their arguments, so arrays are kept cleared between calls, one
// per depth of nested calls: a call fills its entries and clears them again
// (freeing the texts it owns); only calls nested deeper than the kept arrays
// clear one of their own.
constexpr int kKeptArgumentDepth = 64;
RValue g_keptArguments[kKeptArgumentDepth][MAX_ARGUMENTS];
int g_argumentDepth = 0;

struct Arguments {
  // n entries, those of the set bits of lent borrowed from the caller; own
  // is cleared and used when the calls nest too deeply for the kept arrays.
  Arguments(int n, unsigned lent, RValue (&own)[MAX_ARGUMENTS]) : count(n), lent(lent) {
    if (g_argumentDepth < kKeptArgumentDepth) {
      v = g_keptArguments[g_argumentDepth];
    } else {
      std::memset(own, 0, sizeof own);
      v = own;
    }
    ++g_argumentDepth;
  }
  ~Arguments() {
    for (int k = 0; k < count; ++k) {
      if (v[k].str && !(lent >> k & 1)) MEM_FREE(v[k].str);
      v[k] = RValue{VALUE_REAL, nullptr, 0.0};
    }
    --g_argumentDepth;
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;
  RValue* v;
  const int count;
  unsigned lent;
};

// A call of a built-in (or of an extension function). COUNT is the number of
// arguments when it is small, so that their loops unroll; -1 for any number.
template <int COUNT>
class CallNode final : public CallBase {
 public:
  CallNode(int i, const std::vector<Node*>& a) : CallBase(a), id(i) {
    for (int k = 0; k < argc; ++k) {
      local[k] = id < FUNCTION_ID_SCRIPT ? Tree_PlainLocal(args[k]) : -1;
      if (local[k] >= 0) lent |= 1u << k;
    }
    // A built-in's entry never changes once added: its handler is called directly.
    const RFunction* f = id < FUNCTION_ID_SCRIPT ? Function_Get(id) : nullptr;
    routine = f ? f->routine : nullptr;
    for (int k = 0; k < argc && routine && !join; ++k) {
      auto* j = dynamic_cast<const TextJoinBase*>(args[k]);
      if (j && j->JoinsString()) {
        join = j;
        joinArgument = k;
      }
    }
  }
  void Eval(Ctx& c, RValue* out) const override {
    const int n = COUNT >= 0 ? COUNT : argc;
    RValue own[MAX_ARGUMENTS];
    char joined[kJoinedLength];
    Arguments a(n, lent, own);
    for (int k = 0; k < n; ++k) {
      // A built-in reads its arguments and no code it runs can reach the
      // caller's locals: a local's text is lent, not copied. So is a short
      // text joined with string(x) (a map key "k" + string(i)), made here.
      if (local[k] >= 0) a.v[k] = c.locals[local[k]].value;
      else if (k != joinArgument) args[k]->Eval(c, &a.v[k]);
      else if (join->JoinStringInto(c, joined, sizeof joined, &a.v[k])) a.lent |= 1u << k;
    }
    if (routine) routine(*out, c.self, c.other, n, a.v);
    else Code_Dispatch(id, c, n, a.v, out);
  }
  int id;
  TRoutine routine;
  unsigned lent = 0;         // the arguments that are plain locals
  int local[MAX_ARGUMENTS];  // the plain local an argument is, else -1
  const TextJoinBase* join = nullptr;  // the first argument joining string(x) to a text, else null
  int joinArgument = -1;

 private:
  static constexpr size_t kJoinedLength = 48;
};

// n when it is a call of the built-in of that name (or of any name its
// handler is registered under) with COUNT arguments, else null.
template <int COUNT>
const CallNode<COUNT>* BuiltInCall(const Node* n, const char* name) {
  auto* call = dynamic_cast<const CallNode<COUNT>*>(n);
  if (!call || !call->routine) return nullptr;
  int id = Function_FindBuiltIn(name);
  const RFunction* f = id >= 0 ? Function_Get(id) : nullptr;
  return f && f->routine == call->routine ? call : nullptr;
}

const Node* StringCallArgument(const Node* n) {
  const CallNode<1>* call = BuiltInCall<1>(n, "string");
  return call ? call->args[0] : nullptr;
}

const CallNode<2>* CharAtCall(const Node* n) { return BuiltInCall<2>(n, "string_char_at"); }

RValue CallArgument(const CallNode<2>* call, Ctx& c, int k, Temp* t) {
  if (call->local[k] >= 0) return c.locals[call->local[k]].value;
  call->args[k]->Eval(c, t);
  return *t;
}
}  // namespace

Node* Tree_Call(int id, const std::vector<Node*>& args) {
  if (id >= FUNCTION_ID_SCRIPT && id < FUNCTION_ID_EXTENSION) return Tree_ScriptCall(id - FUNCTION_ID_SCRIPT, args);
  switch (args.size()) {
    case 0: return new CallNode<0>(id, args);
    case 1: return new CallNode<1>(id, args);
    case 2: return new CallNode<2>(id, args);
    case 3: return new CallNode<3>(id, args);
    default: return new CallNode<-1>(id, args);
  }
}

namespace {
template <TokenKind OP>
Node* MakeLocalAssign(VarNode* var, Node* value, int slot) {
  const RValue* k = value->Constant();
  if (k && k->kind == VALUE_REAL) return new LocalAssignNode<OP, true>(var, value, slot);
  if (dynamic_cast<LocalIndexed*>(value)) return new LocalAssignNode<OP, false, LocalIndexed>(var, value, slot);
  return new LocalAssignNode<OP, false>(var, value, slot);
}

template <class V>
Node* MakeDirectAssign(VarNode* var, TokenKind op, Node* value) {
  const RValue* k = value->Constant();
  bool constant = k && k->kind == VALUE_REAL;
#define CASE(OP)                                                                            \
  if (op == OP)                                                                             \
    return constant ? static_cast<Node*>(new DirectAssignNode<V, OP, true>(var, value))     \
                    : static_cast<Node*>(new DirectAssignNode<V, OP, false>(var, value));
  CASE(TK_ASSIGN) CASE(TK_PLUSASSIGN) CASE(TK_MINUSASSIGN)
#undef CASE
  return new AssignNode(var, op, value);
}
}  // namespace

Node* Tree_Assign(VarNode* var, TokenKind op, Node* value) {
  if (dynamic_cast<SelfVar*>(var)) return MakeDirectAssign<SelfVar>(var, op, value);
  if (dynamic_cast<LocalIndexed*>(var)) {
    if (auto* fusable = dynamic_cast<FusableValue*>(value); fusable && op == TK_ASSIGN)
      if (Node* set = fusable->IndexedSet(var)) return set;
    return MakeDirectAssign<LocalIndexed>(var, op, value);
  }
  int slot = Tree_PlainLocal(var);
  if (slot >= 0)
    if (Node* store = Tree_ScriptCallStore(var, slot, op, value)) return store;
  if (slot >= 0 && op == TK_ASSIGN) {
    if (auto* fusable = dynamic_cast<FusableValue*>(value))
      if (Node* set = fusable->LocalSet(var, slot)) return set;
    return MakeLocalAssign<TK_ASSIGN>(var, value, slot);
  }
  if (slot >= 0 && op == TK_PLUSASSIGN) return MakeLocalAssign<TK_PLUSASSIGN>(var, value, slot);
  if (slot >= 0 && op == TK_MINUSASSIGN) return MakeLocalAssign<TK_MINUSASSIGN>(var, value, slot);
  return new AssignNode(var, op, value);
}

Node* Tree_IncDec(VarNode* var, int delta, bool prefix) { return new IncDecNode(var, delta, prefix); }

// ---------------------------------------------------------------- statements
namespace {
class FlowNode final : public Node {
 public:
  explicit FlowNode(Flow f) : flow(f) {}
  int Exec(Ctx&) const override { return flow; }
  Flow flow;
};

// Statements run in turn from a flat array that keeps each one's line beside
// it. A plain local stepped by a real constant (i += 1, i++) is stepped in
// place; it cannot fail, so the line need not be set for it. break,
// continue and exit give their flow without a call.
class Statements {
 public:
  explicit Statements(const std::vector<Node*>& list) {
    for (const Node* s : list) {
      Step step{s, s->line, Step::CALL, FLOW_NORMAL, -1, 0.0};
      if (s->LocalStep(&step.slot, &step.delta)) {
        step.kind = Step::STEP;
      } else if (auto* flow = dynamic_cast<const FlowNode*>(s)) {
        step.kind = Step::FLOW;
        step.flow = flow->flow;
      }
      m_steps.push_back(step);
    }
  }
  // Runs the statements from the one at from; the first flow other than
  // FLOW_NORMAL ends them and is returned.
  int Run(Ctx& c, size_t from = 0) const {
    const Step* end = m_steps.data() + m_steps.size();
    for (const Step* s = m_steps.data() + from; s < end; ++s) {
      if (s->kind != Step::CALL) {
        if (s->kind == Step::FLOW) {
          c.line = s->line;
          return s->flow;
        }
        RValue& e = c.locals[s->slot].value;
        if (e.kind != VALUE_STRING) [[likely]] {
          e.kind = VALUE_REAL;
          e.val += s->delta;
          continue;
        }
      }
      c.line = s->line;
      if (int r = s->node->Exec(c)) return r;
    }
    return FLOW_NORMAL;
  }

 private:
  struct Step {
    const Node* node;
    int line;
    enum : unsigned char { CALL, STEP, FLOW } kind;
    unsigned char flow;  // of break, continue and exit
    int slot;            // the local stepped in place
    double delta;        // what it is stepped by
  };
  std::vector<Step> m_steps;
};

class BlockNode final : public Node {
 public:
  explicit BlockNode(const std::vector<Node*>& s) : list(s), run(s) {}
  int Exec(Ctx& c) const override { return run.Run(c); }
  std::vector<Node*> list;
  Statements run;
};

class ExprStatement final : public Node {
 public:
  explicit ExprStatement(Node* x) : e(x) {}
  int Exec(Ctx& c) const override {
    Temp t;
    e->Eval(c, &t);
    return FLOW_NORMAL;
  }
  Node* e;
};

// A branch's or loop's body; a block's statements run in place.
class Body {
 public:
  explicit Body(const Node* n) : m_present(n != nullptr), m_run(List(n)) {}
  int Run(Ctx& c) const { return m_run.Run(c); }
  explicit operator bool() const { return m_present; }

 private:
  static std::vector<Node*> List(const Node* n) {
    if (auto* block = dynamic_cast<const BlockNode*>(n)) return block->list;
    if (n) return {const_cast<Node*>(n)};
    return {};
  }
  bool m_present;
  Statements m_run;
};

// return of an argument slot's text: copied, as the slot stays the caller's.
[[gnu::noinline]] int ReturnText(Ctx& c, const RValue& v) {
  Value_CopyOut(c.result, v);
  c.returned = true;
  return FLOW_EXIT;
}

// return of an argument slot or of a plain local, made without a call. The
// unit ends with the return, so a local's value moves into the result.
template <bool ARGUMENT>
[[gnu::always_inline]] inline int ReturnSlot(Ctx& c, int slot) {
  if (ARGUMENT) {
    const RValue& v = g_ArgumentSlot[slot];
    if (v.kind == VALUE_STRING) [[unlikely]]
      return ReturnText(c, v);
    c.result->kind = v.kind;
    c.result->val = v.val;
  } else {
    RValue& v = c.locals[slot].value;
    *c.result = v;
    v.str = nullptr;
  }
  c.returned = true;
  return FLOW_EXIT;
}

template <bool ARGUMENT>
class ReturnSlotNode final : public Node {
 public:
  explicit ReturnSlotNode(int s) : slot(s) {}
  int Exec(Ctx& c) const override { return ReturnSlot<ARGUMENT>(c, slot); }
  int slot;
};

// How an if tests its condition: through a Condition, or, for its
// commonest shape (if (n < 2)), a plain local or argument slot compared
// with a real constant inline, the node deciding when the value is a string.
// Quick gives 1 or 0, or -1 when Ask must decide.
class ConditionTest {
 public:
  ConditionTest(const Node* n, const Compare&) : m_cond(n) {}
  int Quick(Ctx& c) const { return m_cond.Test(c); }
  bool Ask(Ctx& c) const { return m_cond.Test(c); }

 private:
  Condition m_cond;
};

template <TokenKind OP, bool ARGUMENT>
class SlotTest {
 public:
  SlotTest(const Node* n, const Compare& k) : m_node(n), m_slot(k.slot), m_k(k.k) {}
  int Quick(Ctx& c) const { return SlotCompare<OP, ARGUMENT>(c, m_slot, m_k); }
  bool Ask(Ctx& c) const { return m_node->Test(c); }

 private:
  const Node* m_node;
  int m_slot;
  double m_k;
};

// What an if runs when its test holds: a body, or a return of a plain local
// or argument slot (if (n < 2) return n;) made inline.
template <bool ARGUMENT>
class ReturnSlotRun {
 public:
  explicit ReturnSlotRun(const Node* n) : m_slot(static_cast<const ReturnSlotNode<ARGUMENT>*>(n)->slot) {}
  int Run(Ctx& c) const { return ReturnSlot<ARGUMENT>(c, m_slot); }

 private:
  int m_slot;
};

// The rare paths (the node deciding, an else) are out of line, so the usual
// one needs no saved registers.
template <class TEST, class THEN>
class IfNode final : public Node {
 public:
  IfNode(Node* c, const Compare& k, Node* t, Node* e) : test(c, k), then(t), otherwise(e) {}
  int Exec(Ctx& c) const override {
    int holds = test.Quick(c);
    if (holds > 0) return then.Run(c);
    if (holds < 0) [[unlikely]]
      return Decide(c);
    return otherwise ? Else(c) : FLOW_NORMAL;
  }
  TEST test;
  THEN then;
  Body otherwise;

 private:
  [[gnu::noinline]] int Decide(Ctx& c) const { return test.Ask(c) ? then.Run(c) : Else(c); }
  [[gnu::noinline]] int Else(Ctx& c) const { return otherwise ? otherwise.Run(c) : FLOW_NORMAL; }
};

template <class TEST>
Node* MakeIf(Node* cond, const Compare& k, Node* then, Node* otherwise) {
  if (dynamic_cast<ReturnSlotNode<true>*>(then)) return new IfNode<TEST, ReturnSlotRun<true>>(cond, k, then, otherwise);
  if (dynamic_cast<ReturnSlotNode<false>*>(then)) return new IfNode<TEST, ReturnSlotRun<false>>(cond, k, then, otherwise);
  return new IfNode<TEST, Body>(cond, k, then, otherwise);
}

// Loops share this: the body's flow says whether to go on.
enum { LOOP_NEXT, LOOP_STOP, LOOP_EXIT };
inline int LoopFlow(int r) { return r == FLOW_BREAK ? LOOP_STOP : r == FLOW_EXIT ? LOOP_EXIT : LOOP_NEXT; }

// OP is TK_EOF for any condition, else the comparison of the plain local
// slot with the constant k that the condition is (while (i < 1000)),
// tested inline.
template <TokenKind OP>
class WhileNode final : public Node {
 public:
  WhileNode(Node* c, Node* b, int s = -1, double v = 0) : cond(c), body(b), slot(s), k(v) {}
  [[gnu::always_inline]] bool Test(Ctx& c) const {
    if constexpr (OP == TK_EOF) {
      return cond.Test(c);
    } else {
      int holds = SlotCompare<OP, false>(c, slot, k);
      if (holds < 0) [[unlikely]]
        return cond.Test(c);
      return holds;
    }
  }
  int Exec(Ctx& c) const override {
    while (Test(c)) {
      int f = LoopFlow(body.Run(c));
      if (f == LOOP_STOP) break;
      if (f == LOOP_EXIT) return FLOW_EXIT;
      c.line = line;
    }
    return FLOW_NORMAL;
  }
  Condition cond;
  Body body;
  int slot;
  double k;
};

class DoUntilNode final : public Node {
 public:
  DoUntilNode(Node* b, Node* c) : body(b), cond(c) {}
  int Exec(Ctx& c) const override {
    do {
      int f = LoopFlow(body.Run(c));
      if (f == LOOP_STOP) break;
      if (f == LOOP_EXIT) return FLOW_EXIT;
      c.line = cond.Get()->line;
    } while (!cond.Test(c));
    return FLOW_NORMAL;
  }
  Body body;
  Condition cond;
};

class ForNode final : public Node {
 public:
  ForNode(Node* i, Node* c, Node* s, Node* b)
      : init(i), cond(c), steps(s ? std::vector<Node*>{s} : std::vector<Node*>{}), body(b) {}
  int Exec(Ctx& c) const override {
    if (init && Run(c, init) == FLOW_EXIT) return FLOW_EXIT;
    while (cond.Test(c)) {
      int f = LoopFlow(body.Run(c));
      if (f == LOOP_STOP) break;
      if (f == LOOP_EXIT) return FLOW_EXIT;
      steps.Run(c);
      c.line = line;
    }
    return FLOW_NORMAL;
  }
  Node* init;
  Condition cond;
  Statements steps;  // the step, if any (i += 1 is made in place)
  Body body;
};

class RepeatNode final : public Node {
 public:
  RepeatNode(Node* n, Node* b) : count(n), body(b) {}
  int Exec(Ctx& c) const override {
    Temp t;
    count->Eval(c, &t);
    if (t.kind == VALUE_STRING) Code_Fail("Repeat count must be a number.");
    for (int k = Convert_RoundInt(t.val); k > 0; --k) {
      int f = LoopFlow(body.Run(c));
      if (f == LOOP_STOP) break;
      if (f == LOOP_EXIT) return FLOW_EXIT;
    }
    return FLOW_NORMAL;
  }
  Node* count;
  Body body;
};

class WithNode final : public Node {
 public:
  WithNode(Node* t, Node* b) : target(t), body(b) {}
  int Exec(Ctx& c) const override {
    int who = TargetOf(c, target);
    TargetList targets;
    Code_CollectTargets(who, c.self, c.other, *targets.list);
    CInstance* self = c.self;
    CInstance* other = c.other;
    struct Restore {
      Ctx& c;
      CInstance* self;
      CInstance* other;
      ~Restore() {
        c.self = self;
        c.other = other;
      }
    } restore{c, self, other};
    int result = FLOW_NORMAL;
    for (CInstance* inst : *targets.list) {
      if (inst->marked) continue;  // destroyed by an earlier pass of the body
      c.self = inst;
      c.other = self;
      int f = LoopFlow(body.Run(c));
      if (f == LOOP_STOP) break;
      if (f == LOOP_EXIT) {
        result = FLOW_EXIT;
        break;
      }
    }
    return result;
  }
  Node* target;
  Body body;
};

class SwitchNode final : public Node {
 public:
  SwitchNode(Node* v, const std::vector<SwitchCase>& k, const std::vector<Node*>& b) : value(v), body(b) {
    head.fill(-1);
    std::array<int, 256> tail;
    tail.fill(-1);
    for (const SwitchCase& x : k) {
      if (!x.value) {
        fallback = TargetAt(b, x.position);  // the last default label counts
        continue;
      }
      constant = constant && x.value->Constant();
      const RValue* k = x.value->Constant();
      const char* text = k && k->kind == VALUE_STRING ? RValue_Text(*k) : nullptr;
      labels.push_back({x.value, k, text, -1, TargetAt(b, x.position)});
      if (!text) continue;
      // Text labels are chained by first byte, each chain in label order.
      int n = static_cast<int>(labels.size()) - 1;
      unsigned char first = static_cast<unsigned char>(*text);
      (tail[first] < 0 ? head[first] : labels[tail[first]].next) = n;
      tail[first] = n;
    }
  }
  int Exec(Ctx& c) const override {
    // With constant cases no code runs before the body: a stored value is
    // compared where it stands, and each case's constant where it stands.
    Temp spill;
    const RValue* v = constant ? value->Read(c, &spill) : Evaluated(c, &spill);
    const Target* t = constant && v->kind == VALUE_STRING ? TextTarget(RValue_Text(*v)) : Start(c, *v);
    if (t->slot >= 0) {
      RValue& e = c.locals[t->slot].value;
      if (e.kind != VALUE_STRING) [[likely]] {
        e.kind = VALUE_REAL;
        e.val += t->delta;
        if (t->line >= 0) c.line = t->line;
        return FLOW_NORMAL;
      }
    }
    return t->position < 0 ? FLOW_NORMAL : Enter(c, t->position);
  }

 private:
  // Where a label leads. A case that only steps a plain local and then
  // breaks or ends the body is run here without the statement loop.
  struct Target {
    int position = -1;  // of the first statement after the label, -1 for none
    int slot = -1;      // the stepped local of such a case, else -1
    int line = -1;      // the line of its break, -1 when it ends the body
    double delta = 0.0;
  };
  struct Label {
    const Node* node;
    const RValue* constant;  // the case's constant, else null
    const char* text;        // the constant's text when it is a string, else null
    int next;                // the next text label with the same first byte, else -1
    Target target;
  };
  static Target TargetAt(const std::vector<Node*>& b, int position) {
    Target t;
    t.position = position;
    size_t p = static_cast<size_t>(position);
    if (p >= b.size() || !b[p]->LocalStep(&t.slot, &t.delta)) {
      t.slot = -1;
      return t;
    }
    if (p + 1 == b.size()) return t;
    auto* flow = dynamic_cast<const FlowNode*>(b[p + 1]);
    if (flow && flow->flow == FLOW_BREAK) t.line = flow->line;
    else t.slot = -1;
    return t;
  }
  const RValue* Evaluated(Ctx& c, RValue* spill) const {
    value->Eval(c, spill);
    return spill;
  }
  // Where the body starts for a text when every label is a constant: only
  // the labels sharing the text's first byte are compared, in order.
  const Target* TextTarget(const char* text) const {
    unsigned char first = static_cast<unsigned char>(*text);
    for (int k = head[first]; k >= 0; k = labels[k].next) {
      const Label& label = labels[k];
      if (first == 0) return &label.target;
      if (label.text[1] == text[1] && (text[1] == 0 || std::strcmp(text + 2, label.text + 2) == 0))
        return &label.target;
    }
    return &fallback;
  }
  [[gnu::noinline]] const Target* Start(Ctx& c, const RValue& v) const {
    for (const Label& label : labels)
      if (label.constant ? SameValue(v, *label.constant) : Matches(c, v, label.node)) return &label.target;
    return &fallback;
  }
  static bool Matches(Ctx& c, const RValue& v, const Node* value) {
    Temp x;
    value->Eval(c, &x);
    return SameValue(v, x);
  }
  [[gnu::noinline]] int Enter(Ctx& c, int position) const {
    int r = body.Run(c, static_cast<size_t>(position));
    return r == FLOW_BREAK ? FLOW_NORMAL : r;
  }
  Node* value;
  std::vector<Label> labels;  // in order, without the default label
  std::array<int, 256> head;  // the first text label of each first byte, else -1
  Statements body;
  bool constant = true;  // every case is a constant
  Target fallback;       // where the default label leads
};

class ReturnNode final : public Node {
 public:
  explicit ReturnNode(Node* v) : value(v) {}
  // The result holds no text yet: a unit returns once.
  int Exec(Ctx& c) const override {
    value->Eval(c, c.result);
    c.returned = true;
    return FLOW_EXIT;
  }
  Node* value;
};

class GlobalVarDeclNode final : public Node {
 public:
  explicit GlobalVarDeclNode(const std::vector<int>& i) : ids(i) {}
  int Exec(Ctx&) const override {
    for (int id : ids) Variable_DeclareGlobal(id);
    return FLOW_NORMAL;
  }
  std::vector<int> ids;
};
}  // namespace

Node* Tree_Block(const std::vector<Node*>& statements) {
  return statements.size() == 1 ? statements[0] : new BlockNode(statements);
}
Node* Tree_ExprStatement(Node* e) {
  if (dynamic_cast<IncDecNode*>(e)) return e;  // runs as a statement itself
  return new ExprStatement(e);
}
Node* Tree_If(Node* cond, Node* then, Node* otherwise) {
  Compare k;
  if (cond->Comparison(&k) && k.right < 0 && k.source != Compare::SELF) {
    bool argument = k.source == Compare::ARGUMENT;
    switch (k.op) {
#define CASE(OP) \
  case OP: return argument ? MakeIf<SlotTest<OP, true>>(cond, k, then, otherwise) : MakeIf<SlotTest<OP, false>>(cond, k, then, otherwise);
      CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
      default: break;
    }
  }
  return MakeIf<ConditionTest>(cond, k, then, otherwise);
}
Node* Tree_While(Node* cond, Node* body) {
  Compare k;
  if (cond && cond->Comparison(&k) && k.source == Compare::LOCAL && k.right < 0) {
    switch (k.op) {
#define CASE(OP) case OP: return new WhileNode<OP>(cond, body, k.slot, k.k);
      CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
      default: break;
    }
  }
  return new WhileNode<TK_EOF>(cond, body);
}
Node* Tree_DoUntil(Node* body, Node* cond) { return new DoUntilNode(body, cond); }
Node* Tree_For(Node* init, Node* cond, Node* step, Node* body) { return new ForNode(init, cond, step, body); }
Node* Tree_Repeat(Node* count, Node* body) { return new RepeatNode(count, body); }
Node* Tree_With(Node* target, Node* body) { return new WithNode(target, body); }
Node* Tree_Switch(Node* value, const std::vector<SwitchCase>& cases, const std::vector<Node*>& body) {
  return new SwitchNode(value, cases, body);
}
Node* Tree_Flow(Flow flow) { return new FlowNode(flow); }
Node* Tree_Return(Node* value) {
  if (auto* fusable = dynamic_cast<FusableValue*>(value)) return fusable->Returned();
  if (int slot = Tree_PlainArgument(value); slot >= 0) return new ReturnSlotNode<true>(slot);
  if (int slot = Tree_PlainLocal(value); slot >= 0) return new ReturnSlotNode<false>(slot);
  return new ReturnNode(value);
}
Node* Tree_GlobalVarDecl(const std::vector<int>& ids) { return new GlobalVarDeclNode(ids); }
