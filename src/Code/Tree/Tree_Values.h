// Constants and the nodes of texts: comparisons with a text constant and
// joins of a text constant with a value.
#pragma once
#include <string>
#include <string_view>

#include "Base/String_Helpers.h"
#include "Base/Text_Real.h"
#include "Code/Tree/Tree_Operators.h"

namespace tree {
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

class BuiltInCallBase;
// Argument k of a call of two as the call takes it: a plain local's value
// lent as it stands, anything else evaluated into t.
inline RValue CallArgument(const BuiltInCallBase* call, Ctx& c, int k, Temp* t);  // in Tree_Calls.h

// == or != with a text constant on the right (name == "door"): the left
// value is compared where it stands, the constant is never copied. The
// character string_char_at(s, i) is compared where it lies in s.
template <TokenKind OP>
class TextEqualNode final : public Node {
 public:
  // at: a, when it is a call of string_char_at, else null.
  TextEqualNode(Node* a, const RValue& b, const BuiltInCallBase* at) : l(a), k(b), charAt(at), text(RValue_Text(b)) {}
  double Real(Ctx& c, RValue* spill) const override {
    if (charAt) return CharAtIs(c) == (OP == TK_EQ) ? 1.0 : 0.0;
    Temp a;
    return SameValue(*l->Read(c, &a), k) == (OP == TK_EQ) ? 1.0 : 0.0;
  }
  void Eval(Ctx& c, RValue* out) const override { out->val = Real(c, out); }
  bool Test(Ctx& c) const override { return Real(c, nullptr) > 0.5; }
  Node* l;
  const RValue& k;  // the constant node's value, which lives as long as this node
  const BuiltInCallBase* charAt;
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
  explicit TextJoinBase(bool left) : constantLeft(left) { shape = SHAPE_TEXT_JOIN; }
  const bool constantLeft;  // the constant is on the left: TextJoinNode<true>
  // Whether the other side is string(x).
  virtual bool JoinsString() const = 0;
  // For string(x) on the other side: the joined text written into buf when
  // it fits in size bytes (out then shows buf, and *length is its length),
  // else made into a text of out's own as Eval makes it; true when it lies
  // in buf.
  virtual bool JoinStringInto(Ctx& c, char* buf, size_t size, RValue* out, size_t* length) const = 0;
};

template <bool CONSTANT_LEFT>
class TextJoinNode final : public TextJoinBase {
 public:
  // x: the argument of n when n is string(x), else null.
  TextJoinNode(Node* n, const RValue& text, const Node* x)
      : TextJoinBase(CONSTANT_LEFT), other(n), number(x), numberLocal(x ? Tree_PlainLocal(x) : -1), k(text), kLength(std::strlen(RValue_Text(text))) {
    if (kLength < sizeof kPadded) std::memcpy(kPadded, RValue_Text(text), kLength);
    if (x && x->shape == SHAPE_SLOT_CONSTANT && !static_cast<const SlotConstant*>(x)->argument)
      counted = static_cast<const SlotConstant*>(x);
    std::memcpy(&kWord, kPadded, sizeof kWord);
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
  bool Test(Ctx& c) const override { return Value_RealTruth(*this, c); }
  Node* other;
  const Node* number;  // x when the other side is string(x), else null
  int numberLocal;     // the plain local x is, else -1
  // x when it is a plain local OP a real constant (string(i mod 1000)),
  // whose value is mostly a small whole number computed in place.
  const SlotConstant* counted = nullptr;
  const RValue& k;     // the constant node's value, which lives as long as this node
  size_t kLength;
  char kPadded[16] = {};  // a short constant's text and zeros, copied whole
  uint64_t kWord = 0;     // its first eight bytes as a word

 private:
  void Join(const char* x, size_t n, RValue* out) const {
    if (CONSTANT_LEFT) JoinTexts(RValue_Text(k), kLength, x, n, out);
    else JoinTexts(x, n, RValue_Text(k), kLength, out);
  }
  // The constant joined with string(x): a text as it is, a whole number's
  // digits, else the two decimals of Real_ToText.
  double JoinString(Ctx& c, RValue* spill) const {
    size_t length;
    JoinStringInto(c, nullptr, 0, spill, &length);
    return 0.0;
  }

 public:
  bool JoinsString() const override { return number != nullptr; }
  [[gnu::always_inline]] bool JoinStringInto(Ctx& c, char* buf, size_t size, RValue* out, size_t* length) const override {
    // x's digits when x is a small whole number computed in place; else
    // x's value where it lies when a plain local, else a real computed
    // without a value built (a text lands in t).
    char digits[12];
    size_t n;
    int whole;
    if (counted && counted->AsIndex(c, &whole)) {
      if (whole < 1000 && kLength <= kWordConstant && size > sizeof kWord) return PlaceWord(whole, buf, out, length);
      n = Text_WholeDigits(static_cast<uint32_t>(whole), digits);
    } else {
      Temp t;
      const RValue* v = &t;
      if (numberLocal >= 0) v = &c.locals[numberLocal].value;
      else t.val = number->Real(c, &t);
      if (v->kind == VALUE_STRING || !(n = Real_ToWholeText(v->val, digits))) return JoinOther(*v, buf, size, out, length);
    }
    if (kLength >= sizeof kPadded || size < sizeof kPadded + sizeof digits) return Place(digits, n, buf, size, out, length);
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
    *length = kLength + n;
    return true;
  }

 private:
  // string(x) of a text or of a real with decimals joined.
  [[gnu::noinline]] bool JoinOther(const RValue& v, char* buf, size_t size, RValue* out, size_t* length) const {
    if (v.kind == VALUE_STRING) {
      const char* x = RValue_Text(v);
      return Place(x, std::strlen(x), buf, size, out, length);
    }
    std::string text = Real_ToText(v.val);
    return Place(text.data(), text.size(), buf, size, out, length);
  }
  // The longest constant whose join with three digits fits in a word.
  static constexpr size_t kWordConstant = 5;
  // The join with a number m below 1000 made in a register and stored as one
  // word (whose bytes past the text are zeros), so that the map's reads of
  // the key find it whole in the store buffer.
  bool PlaceWord(int m, char* buf, RValue* out, size_t* length) const {
    uint32_t w = g_SmallNumberDigits[m];
    size_t n = w >> 24;
    uint64_t digits = w & 0xFFFFFFu;
    uint64_t text = CONSTANT_LEFT ? kWord | digits << (8 * kLength) : digits | kWord << (8 * n);
    std::memcpy(buf, &text, sizeof text);
    buf[sizeof text] = '\0';
    ShowText(buf, out);
    *length = kLength + n;
    return true;
  }
  // The join of x's n bytes in buf when it fits, else in a text of out's own.
  bool Place(const char* x, size_t n, char* buf, size_t size, RValue* out, size_t* length) const {
    if (kLength + n >= size) {
      Join(x, n, out);
      return false;
    }
    std::memcpy(buf + (CONSTANT_LEFT ? 0 : n), RValue_Text(k), kLength);
    std::memcpy(buf + (CONSTANT_LEFT ? kLength : 0), x, n);
    buf[kLength + n] = '\0';
    ShowText(buf, out);
    *length = kLength + n;
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
}  // namespace tree
