#include "Code/Tree/Tree_Values.h"

#include <cstring>

namespace tree {
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

void JoinTexts(const char* x, size_t nx, const char* y, size_t ny, RValue* out) {
  char* block = static_cast<char*>(MEM_ALLOC(nx + ny + 1));
  std::memcpy(block, x, nx);
  std::memcpy(block + nx, y, ny);
  block[nx + ny] = '\0';
  RValue_SetStringOwned(out, block);
}

namespace {
void JoinStrings(const RValue& a, const RValue& b, RValue* out) {
  const char* x = RValue_Text(a);
  const char* y = RValue_Text(b);
  JoinTexts(x, std::strlen(x), y, std::strlen(y), out);
}
}  // namespace

bool SameValue(const RValue& a, const RValue& b) {
  bool sa = a.kind == VALUE_STRING, sb = b.kind == VALUE_STRING;
  if (sa != sb) return false;
  if (!sa) return a.val == b.val;
  const char* x = RValue_Text(a);
  const char* y = RValue_Text(b);
  return *x == *y && std::strcmp(x, y) == 0;  // most texts that differ do so at once
}

double Mixed(TokenKind op, const RValue& a, double x, const RValue& b, double y, RValue* out) {
  RValue ra{VALUE_REAL, nullptr, x}, rb{VALUE_REAL, nullptr, y};
  Code_BinaryOp(op, a.kind == VALUE_STRING ? a : ra, b.kind == VALUE_STRING ? b : rb, out);
  return out->val;
}

double MixedSpill(TokenKind op, RValue* spill, double x, const RValue& b, double y) {
  Temp a;
  Value_Take(&a, spill);
  return Mixed(op, a, x, b, y, spill);
}

Where WhereOf(const Node* n, int* slot) {
  if ((*slot = Tree_PlainLocal(n)) >= 0) return LOCAL;
  if ((*slot = Tree_PlainArgument(n)) >= 0) return ARGUMENT;
  return NODE;
}
}  // namespace tree

using namespace tree;

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
