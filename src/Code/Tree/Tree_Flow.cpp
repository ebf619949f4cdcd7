#include "Code/Tree/Tree_Flow.h"

namespace tree {
int ReturnText(Ctx& c, const RValue& v) {
  Value_CopyOut(c.result, v);
  c.returned = true;
  return FLOW_EXIT;
}

Condition::Condition(const Node* n) : m_node(n) {
  if (!n) {
    m_test = Always;
    return;
  }
  if (Tree_GeneralNodes()) return;  // the node tests itself
  auto* logic = n->shape == SHAPE_LOGIC ? static_cast<const LogicNode*>(n) : nullptr;
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
  auto* logic = n->shape == SHAPE_LOGIC ? static_cast<const LogicNode*>(n) : nullptr;
  if (logic && logic->op == join) return Gather(logic->left, join) && Gather(logic->right, join);
  if (m_count == MAX_COMPARE || !n->Comparison(&m_compare[m_count])) return false;
  ++m_count;
  return true;
}
}  // namespace tree
