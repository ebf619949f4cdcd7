// Every node factory: which node a piece of code becomes is decided here.
#include <vector>

#include "Code/Tree/Tree_Assign.h"
#include "Code/Tree/Tree_Calls.h"
#include "Code/Tree/Tree_Flow.h"
#include "Code/Tree/Tree_Values.h"

namespace {
CodeUnit* g_unit = nullptr;
int g_line = 0;
}  // namespace

using namespace tree;

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


VarNode* Tree_Local(int slot) { return new LocalRead(slot); }

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
