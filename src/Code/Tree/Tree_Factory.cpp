// Every node factory: which node a piece of code becomes is decided here.
// Each kind of code has a general node, which handles every case, and may
// have faster nodes for the shapes it commonly takes (a local compared with
// a constant, x = a + b into a local, return of a slot); a faster node must
// give the same values, errors and effects as the general one. With the
// general nodes switched on (Tree_GeneralNodes) every factory builds only
// the general node, so that the tests can run each program both ways; the
// conditions, statement lists and switches, which choose how they test and
// step when built, then take their general way too.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Code/Tree/Tree_Assign.h"
#include "Code/Tree/Tree_Calls.h"
#include "Code/Tree/Tree_Flow.h"
#include "Code/Tree/Tree_Values.h"

namespace {
CodeUnit* g_unit = nullptr;
int g_line = 0;

// The build's choice, else the environment's, read once at start.
bool GeneralFromBuild() {
#ifdef RUNNER_GENERAL_NODES
  return true;
#else
  const char* set = std::getenv("RUNNER_GENERAL_NODES");
  return set && *set && std::strcmp(set, "0") != 0;
#endif
}
bool g_general = GeneralFromBuild();
}  // namespace

bool Tree_GeneralNodes() { return g_general; }
void Tree_SetGeneralNodes(bool general) { g_general = general; }

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

// ---------------------------------------------------------------- operators
namespace {
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

// n when it is a call of the built-in of that name (or of any name its
// handler is registered under) with count arguments, else null.
const BuiltInCallBase* BuiltInCall(const Node* n, const char* name, int count) {
  if (n->shape != SHAPE_BUILTIN_CALL) return nullptr;
  auto* call = static_cast<const BuiltInCallBase*>(n);
  if (call->argc != count || !call->routine) return nullptr;
  int id = Function_FindBuiltIn(name);
  const RFunction* f = id >= 0 ? Function_Get(id) : nullptr;
  return f && f->routine == call->routine ? call : nullptr;
}

// The argument of a one-argument call of `string`, else null.
const Node* StringCallArgument(const Node* n) {
  const BuiltInCallBase* call = BuiltInCall(n, "string", 1);
  return call ? call->args[0] : nullptr;
}

// n when it is a call of `string_char_at`, else null.
const BuiltInCallBase* CharAtCall(const Node* n) { return BuiltInCall(n, "string_char_at", 2); }

// n when it is a plain local times a real constant (x * 0.5), else null.
const SlotConstant* Scaled(const Node* n) {
  if (n->shape != SHAPE_SLOT_CONSTANT) return nullptr;
  auto* s = static_cast<const SlotConstant*>(n);
  return s->op == TK_STAR && !s->argument ? s : nullptr;
}

template <TokenKind OP>
Node* MakeBinary(Node* a, Node* b) {
  const RValue* k = b->Constant();
  if (k && k->kind != VALUE_STRING && !(IsDivision(OP) && k->val == 0.0)) {
    int slot = Tree_PlainLocal(a);
    if (slot >= 0) return new LocalConstNode<OP, false>(slot, k->val);
    slot = Tree_PlainArgument(a);
    if (slot >= 0) return new LocalConstNode<OP, true>(slot, k->val);
    return new BinaryConstNode<OP>(a, k->val, Tree_PlainSelf(a));
  }
  if constexpr (OP == TK_EQ || OP == TK_NE) {
    if (k) return new TextEqualNode<OP>(a, *k, CharAtCall(a));
  }
  if constexpr (OP == TK_PLUS) {
    if (k) return new TextJoinNode<false>(a, *k, StringCallArgument(a));
    const RValue* first = a->Constant();
    if (first && first->kind == VALUE_STRING) return new TextJoinNode<true>(b, *first, StringCallArgument(b));
  }
  int as, bs;
  Where wa = WhereOf(a, &as), wb = WhereOf(b, &bs);
  if (const SlotConstant* scaled = Scaled(a)) {
    BinaryBase* n = nullptr;
    if (wb == LOCAL) n = new BinaryNode<OP, SCALED, LOCAL>(a, scaled->slot, b, bs);
    if (wb == ARGUMENT) n = new BinaryNode<OP, SCALED, ARGUMENT>(a, scaled->slot, b, bs);
    if (wb == NODE) n = new BinaryNode<OP, SCALED, NODE>(a, scaled->slot, b, bs);
    n->lk = scaled->k;
    return n;
  }
#define SIDES(L, R) \
  if (wa == L && wb == R) return new BinaryNode<OP, L, R>(a, as, b, bs);
  SIDES(LOCAL, LOCAL) SIDES(LOCAL, ARGUMENT) SIDES(LOCAL, NODE)
  SIDES(ARGUMENT, LOCAL) SIDES(ARGUMENT, ARGUMENT) SIDES(ARGUMENT, NODE)
  SIDES(NODE, LOCAL) SIDES(NODE, ARGUMENT)
#undef SIDES
  return new BinaryNode<OP, NODE, NODE>(a, -1, b, -1);
}

// make(node) with the BinaryNode the operator node n is, of its own class;
// for the operators of ARITHMETIC only (+ - * /) when set, else null for
// the others.
template <TokenKind OP, class MAKE>
Node* WithSides(const BinaryBase* n, MAKE make) {
#define SIDES(L, R) \
  if (n->left == L && n->right == R) return make(static_cast<const BinaryNode<OP, L, R>*>(n));
  SIDES(LOCAL, LOCAL) SIDES(LOCAL, ARGUMENT) SIDES(LOCAL, NODE)
  SIDES(ARGUMENT, LOCAL) SIDES(ARGUMENT, ARGUMENT) SIDES(ARGUMENT, NODE)
  SIDES(NODE, LOCAL) SIDES(NODE, ARGUMENT) SIDES(NODE, NODE)
  SIDES(SCALED, LOCAL) SIDES(SCALED, ARGUMENT) SIDES(SCALED, NODE)
#undef SIDES
  return nullptr;
}
template <bool ARITHMETIC, class MAKE>
Node* WithBinary(const Node* n, MAKE make) {
  auto* binary = static_cast<const BinaryBase*>(n);
  switch (binary->op) {
#define CASE(OP) case OP: return WithSides<OP>(binary, make);
    CASE(TK_PLUS) CASE(TK_MINUS) CASE(TK_STAR) CASE(TK_SLASH)
#undef CASE
    default: break;
  }
  if constexpr (!ARITHMETIC) {
    switch (binary->op) {
#define CASE(OP) case OP: return WithSides<OP>(binary, make);
      CASE(TK_DIV) CASE(TK_MOD) CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
      CASE(TK_BITOR) CASE(TK_BITAND) CASE(TK_BITXOR) CASE(TK_SHL) CASE(TK_SHR)
#undef CASE
      default: break;
    }
  }
  return nullptr;
}
}  // namespace

Node* Tree_Const(const RValue& value) { return new ConstNode(value); }

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
  // The general node of an operator: a run of one.
  if (g_general) return new ChainNode(a, {{op, b}});
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
VarNode* Tree_Local(int slot) {
  if (g_general) return new LocalVar(slot);
  return new LocalRead(slot);
}

VarNode* Tree_Index(VarNode* var, Node* index1, Node* index2) {
  if (var->shape == SHAPE_LOCAL) {
    auto* indexed = new LocalIndexed(static_cast<LocalRead*>(var)->slot);
    indexed->name = var->name;
    var = indexed;
  }
  var->index1 = index1;
  var->index2 = index2;
  var->local1 = index1 && !g_general ? Tree_PlainLocal(index1) : -1;
  var->local2 = index2 && !g_general ? Tree_PlainLocal(index2) : -1;
  if (var->shape == SHAPE_LOCAL_INDEXED)
    static_cast<LocalIndexed*>(var)->plain = var->local1 < 0 ? 0 : !index2 ? 1 : var->local2 < 0 ? 0 : 2;
  if (var->shape == SHAPE_LOCAL_INDEXED && !index2 && index1->shape == SHAPE_SLOT_CONSTANT &&
      !static_cast<const SlotConstant*>(index1)->argument)
    static_cast<LocalIndexed*>(var)->computed = static_cast<const SlotConstant*>(index1);
  return var;
}
int Tree_PlainArgument(const Node* n) {
  return n->shape == SHAPE_ARGUMENT ? static_cast<const ArgumentVar*>(n)->slot : -1;
}
int Tree_PlainSelf(const Node* n) {
  if (n->shape != SHAPE_SELF) return -1;
  auto* self = static_cast<const SelfVar*>(n);
  return self->index1 ? -1 : self->id;
}
int Tree_PlainLocal(const Node* n) {
  if (n->shape != SHAPE_LOCAL) return -1;
  auto* local = static_cast<const LocalRead*>(n);
  return local->index1 ? -1 : local->slot;
}
VarNode* Tree_Argument(int slot) { return new ArgumentVar(slot); }
VarNode* Tree_ArgumentArray() { return new ArgumentVar(-1); }
VarNode* Tree_BuiltIn(int index, Node* target) {
  if (!g_general && !target) return new BuiltInSelfVar(Variable_BuiltIn_Get(index));
  return new BuiltInVar(Variable_BuiltIn_Get(index), target);
}
VarNode* Tree_SelfVar(int id) {
  if (g_general) return new SelfName(id);
  return new SelfVar(id);
}
VarNode* Tree_InstanceVar(int id, int which) { return new InstanceVar(id, which); }
VarNode* Tree_GlobalVar(int id) { return new GlobalVar(id); }
VarNode* Tree_TargetVar(Node* target, int id) { return new TargetVar(target, id); }

// ---------------------------------------------------------------- calls
namespace {
// Whether n is a plain local or argument slot plus, minus or times a real
// constant (argument0 - 1, i * 2).
bool SlotOperation(const Node* n) {
  if (n->shape != SHAPE_SLOT_CONSTANT) return false;
  TokenKind op = static_cast<const SlotConstant*>(n)->op;
  return op == TK_PLUS || op == TK_MINUS || op == TK_STAR;
}

// How a script call makes each argument in the callee's slot.
void ScriptArguments(const std::vector<Node*>& args, ScriptArgument* ways) {
  for (size_t k = 0; k < args.size() && k < MAX_ARGUMENTS; ++k) {
    ScriptArgument& w = ways[k];
    const RValue* v = args[k]->Constant();
    if (v && v->kind == VALUE_REAL) {
      w.how = ScriptArgument::REAL, w.add = v->val;
    } else if ((w.slot = Tree_PlainLocal(args[k])) >= 0) {
      w.how = ScriptArgument::LOCAL;
    } else if ((w.slot = Tree_PlainArgument(args[k])) >= 0) {
      w.how = ScriptArgument::ARGUMENT;
    } else if (SlotOperation(args[k])) {
      // slot * k is slot * k + -0, and slot + k is slot * 1 + k; slot - k is
      // slot + -k: the same reals.
      auto* op = static_cast<const SlotConstant*>(args[k]);
      bool multiply = op->op == TK_STAR;
      w.how = op->argument ? ScriptArgument::ARGUMENT_OPERATION : ScriptArgument::LOCAL_OPERATION;
      w.slot = op->slot;
      w.times = multiply ? op->k : 1.0;
      w.add = multiply ? -0.0 : op->op == TK_MINUS ? -op->k : op->k;
    } else {
      w = ScriptArgument{};
    }
  }
}

// How a built-in call makes its arguments. A built-in reads its arguments
// and no code it runs can reach the caller's locals: a plain local's text
// is lent, not copied. So is the text of the first argument joining
// string(x) to a text constant, made in the call's buffer.
void BuiltInArguments(BuiltInCallBase* call) {
  if (call->id >= FUNCTION_ID_SCRIPT) return;
  for (int k = 0; k < call->argc; ++k) {
    call->local[k] = Tree_PlainLocal(call->args[k]);
    if (call->local[k] >= 0) call->lent |= 1u << k;
  }
  for (int k = 0; k < call->argc && call->routine && !call->join; ++k) {
    const Node* a = call->args[k];
    if (a->shape == SHAPE_TEXT_JOIN && static_cast<const TextJoinBase*>(a)->JoinsString()) {
      call->join = static_cast<const TextJoinBase*>(a);
      call->joinArgument = k;
    }
  }
}

// Whether the call can hand its key to the built-in's text-key form.
bool TakesTextKey(int id, const std::vector<Node*>& args) {
  const RFunction* f = id < FUNCTION_ID_SCRIPT ? Function_Get(id) : nullptr;
  if (!f || !f->textKey || f->argnumb != static_cast<int>(args.size()) || args.size() < 2) return false;
  return args[1]->shape == SHAPE_TEXT_JOIN && static_cast<const TextJoinBase*>(args[1])->JoinsString();
}

BuiltInCallBase* NewBuiltInCall(int id, const std::vector<Node*>& args) {
  if (!g_general && TakesTextKey(id, args)) {
    bool left = static_cast<const TextJoinBase*>(args[1])->constantLeft;
    if (args.size() == 2 && left) return new TextKeyCallNode<2, true>(id, args);
    if (args.size() == 2) return new TextKeyCallNode<2, false>(id, args);
    if (args.size() == 3 && left) return new TextKeyCallNode<3, true>(id, args);
    if (args.size() == 3) return new TextKeyCallNode<3, false>(id, args);
  }
  switch (g_general ? -1 : static_cast<int>(args.size())) {
    case 0: return new CallNode<0>(id, args);
    case 1: return new CallNode<1>(id, args);
    case 2: return new CallNode<2>(id, args);
    case 3: return new CallNode<3>(id, args);
    default: return new CallNode<-1>(id, args);
  }
}
}  // namespace

Node* Tree_Call(int id, const std::vector<Node*>& args) {
  if (id >= FUNCTION_ID_SCRIPT && id < FUNCTION_ID_EXTENSION) {
    ScriptArgument ways[MAX_ARGUMENTS];
    if (!g_general) ScriptArguments(args, ways);
    return Code_NewScriptCall(id - FUNCTION_ID_SCRIPT, args, ways, g_general);
  }
  BuiltInCallBase* call = NewBuiltInCall(id, args);
  if (!g_general) BuiltInArguments(call);
  return call;
}

// ---------------------------------------------------------------- assignments
namespace {
template <TokenKind OP>
Node* MakeLocalAssign(VarNode* var, Node* value, int slot) {
  const RValue* k = value->Constant();
  if (k && k->kind == VALUE_REAL) return new LocalAssignNode<OP, true>(var, value, slot);
  if (value->shape == SHAPE_LOCAL_INDEXED) {
    Node* general = new LocalAssignNode<OP, false, LocalIndexed>(var, value, slot);
    auto* array = static_cast<const LocalIndexed*>(value);
    if (array->plain == 2) return new LocalFromElement<OP, 2>(general, array, slot);
    if (array->plain == 1) return new LocalFromElement<OP, 1>(general, array, slot);
    return general;
  }
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

// An indexed local assigned: a[i, j] = a + b computes the operator inline.
Node* IndexedAssignGeneral(VarNode* var, TokenKind op, Node* value) {
  if (op == TK_ASSIGN && value->shape == SHAPE_BINARY) {
    Node* set = WithBinary<true>(value, [&](const auto* binary) -> Node* {
      using Binary = std::remove_cv_t<std::remove_pointer_t<decltype(binary)>>;
      return new DirectAssignNode<LocalIndexed, TK_ASSIGN, false, Binary>(var, const_cast<Binary*>(binary));
    });
    if (set) return set;
  }
  return MakeDirectAssign<LocalIndexed>(var, op, value);
}

template <TokenKind OP, class VALUE>
Node* MakeElementFromReal(const Node* general, const LocalIndexed* array, const VALUE& value) {
  if (array->plain == 2) return new ElementFromReal<OP, 2, VALUE>(general, array, value);
  return new ElementFromReal<OP, 1, VALUE>(general, array, value);
}

// a[...] = x OP y with x and y plain locals or argument slots; else null.
template <TokenKind OP, Where L, Where R>
Node* PairStore(const Node* general, const LocalIndexed* array, const BinaryNode<OP, L, R>* b) {
  if constexpr ((L == LOCAL || L == ARGUMENT) && (R == LOCAL || R == ARGUMENT))
    return MakeElementFromReal<TK_ASSIGN>(general, array, SlotPair<OP, L, R>(b->ls, b->rs, b->lk));
  return nullptr;
}

template <TokenKind OP>
Node* ElementStore(const Node* general, const LocalIndexed* array, Node* value) {
  const RValue* k = value->Constant();
  if (k && k->kind == VALUE_REAL) return MakeElementFromReal<OP>(general, array, RealConstant{k->val});
  if (int slot = Tree_PlainLocal(value); slot >= 0) return MakeElementFromReal<OP>(general, array, PlainLocal{FrameOffset(slot)});
  if (OP != TK_ASSIGN || value->shape != SHAPE_BINARY) return nullptr;
  return WithBinary<true>(value, [&](const auto* b) { return PairStore(general, array, b); });
}

// An indexed local stored into: when its indices are plain locals and the
// value a real read in place, a node that stores the real where it goes,
// over the general one for the rest.
Node* IndexedAssign(VarNode* var, TokenKind op, Node* value) {
  Node* general = IndexedAssignGeneral(var, op, value);
  auto* array = static_cast<const LocalIndexed*>(var);
  Node* fast = nullptr;
  if (array->plain > 0) {
    if (op == TK_ASSIGN) fast = ElementStore<TK_ASSIGN>(general, array, value);
    if (op == TK_PLUSASSIGN) fast = ElementStore<TK_PLUSASSIGN>(general, array, value);
    if (op == TK_MINUSASSIGN) fast = ElementStore<TK_MINUSASSIGN>(general, array, value);
  }
  return fast ? fast : general;
}

// A plain local assigned, added to or subtracted from.
Node* LocalAssign(VarNode* var, int slot, TokenKind op, Node* value) {
  bool store = op == TK_ASSIGN || op == TK_PLUSASSIGN || op == TK_MINUSASSIGN;
  if (store && value->shape == SHAPE_SCRIPT_CALL) return Code_NewScriptCallStore(var, slot, op, value);
  if (op == TK_ASSIGN && value->shape == SHAPE_BINARY) {
    Node* set = WithBinary<true>(value, [&](const auto* binary) -> Node* {
      return new LocalSetBinary(var, binary, slot);
    });
    if (set) return set;
  }
  if (op == TK_ASSIGN) return MakeLocalAssign<TK_ASSIGN>(var, value, slot);
  if (op == TK_PLUSASSIGN) return MakeLocalAssign<TK_PLUSASSIGN>(var, value, slot);
  if (op == TK_MINUSASSIGN) return MakeLocalAssign<TK_MINUSASSIGN>(var, value, slot);
  return new AssignNode(var, op, value);
}
}  // namespace

Node* Tree_Assign(VarNode* var, TokenKind op, Node* value) {
  if (g_general) return new AssignNode(var, op, value);
  if (var->shape == SHAPE_SELF) return MakeDirectAssign<SelfVar>(var, op, value);
  if (var->shape == SHAPE_LOCAL_INDEXED) return IndexedAssign(var, op, value);
  if (int slot = Tree_PlainLocal(var); slot >= 0) return LocalAssign(var, slot, op, value);
  return new AssignNode(var, op, value);
}

Node* Tree_IncDec(VarNode* var, int delta, bool prefix) {
  return new IncDecNode(var, delta, prefix, g_general ? -1 : Tree_PlainLocal(var));
}

// ---------------------------------------------------------------- statements
namespace {
template <class TEST>
Node* MakeIf(Node* cond, const Compare& k, Node* then, Node* otherwise) {
  if (then->shape == SHAPE_RETURN_ARGUMENT) return new IfNode<TEST, ReturnSlotRun<true>>(cond, k, then, otherwise);
  if (then->shape == SHAPE_RETURN_LOCAL) return new IfNode<TEST, ReturnSlotRun<false>>(cond, k, then, otherwise);
  if (then->shape == SHAPE_RETURN_REAL) return new IfNode<TEST, ReturnRealRun>(cond, k, then, otherwise);
  int slot;
  double delta;
  if (then->LocalStep(&slot, &delta)) return new IfNode<TEST, StepRun>(cond, k, then, otherwise);
  return new IfNode<TEST, Body>(cond, k, then, otherwise);
}

// A plain local against a real constant: the comparisons a PairTest makes.
bool PlainComparison(const Node* n, Compare* k) {
  return n->Comparison(k) && k->source == Compare::LOCAL && k->right < 0;
}

template <TokenKind OP1, bool AND>
Node* MakePairIf(TokenKind op2, Node* cond, Node* then, Node* otherwise) {
  switch (op2) {
#define CASE(OP) case OP: return MakeIf<PairTest<OP1, OP, AND>>(cond, Compare{}, then, otherwise);
    CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
    default: return nullptr;
  }
}

// An if whose condition is two plain locals compared with constants, joined
// by && or ||; else null.
Node* PairIf(Node* cond, Node* then, Node* otherwise) {
  if (cond->shape != SHAPE_LOGIC) return nullptr;
  auto* logic = static_cast<const LogicNode*>(cond);
  Compare a, b;
  if (logic->op == TK_XORXOR || !PlainComparison(logic->left, &a) || !PlainComparison(logic->right, &b)) return nullptr;
  bool both = logic->op == TK_ANDAND;
  switch (a.op) {
#define CASE(OP) \
  case OP: return both ? MakePairIf<OP, true>(b.op, cond, then, otherwise) : MakePairIf<OP, false>(b.op, cond, then, otherwise);
    CASE(TK_EQ) CASE(TK_NE) CASE(TK_LT) CASE(TK_LE) CASE(TK_GT) CASE(TK_GE)
#undef CASE
    default: return nullptr;
  }
}
}  // namespace

Node* Tree_Block(const std::vector<Node*>& statements) {
  return statements.size() == 1 ? statements[0] : new BlockNode(statements);
}
Node* Tree_ExprStatement(Node* e) {
  if (e->shape == SHAPE_INC_DEC && !g_general) return e;  // runs as a statement itself
  return new ExprStatement(e);
}
Node* Tree_If(Node* cond, Node* then, Node* otherwise) {
  Compare k;
  if (g_general) return new IfNode<ConditionTest, Body>(cond, k, then, otherwise);
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
  if (Node* pair = PairIf(cond, then, otherwise)) return pair;
  return MakeIf<ConditionTest>(cond, k, then, otherwise);
}
// A loop on a local compared with a constant: when its body is one to three
// statements and then a step of a plain local, the stepped loop.
template <TokenKind OP>
Node* ComparedWhile(Node* cond, Node* body, const Compare& k) {
  if (body && body->shape == SHAPE_BLOCK) {
    const std::vector<Node*>& b = static_cast<const BlockNode*>(body)->list;
    int slot;
    double delta;
    if (b.size() >= 2 && b.size() <= 4 && b.back()->LocalStep(&slot, &delta)) {
      if (b.size() == 2) return new SteppedWhileNode<OP, 1>(cond, b, k);
      if (b.size() == 3) return new SteppedWhileNode<OP, 2>(cond, b, k);
      return new SteppedWhileNode<OP, 3>(cond, b, k);
    }
  }
  return new WhileNode<OP>(cond, body, k.slot, k.k);
}

Node* Tree_While(Node* cond, Node* body) {
  Compare k;
  if (!g_general && cond && cond->Comparison(&k) && k.source == Compare::LOCAL && k.right < 0) {
    switch (k.op) {
#define CASE(OP) case OP: return ComparedWhile<OP>(cond, body, k);
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
  if (!g_general && value->shape == SHAPE_LOCAL_INDEXED && static_cast<LocalIndexed*>(value)->computed &&
      SwitchConstantLabels(cases))
    return new SwitchNode<LocalIndexed>(value, cases, body);
  return new SwitchNode<Node>(value, cases, body);
}
Node* Tree_Flow(Flow flow) { return new FlowNode(flow); }

namespace {
bool IsSlot(Where w) { return w == LOCAL || w == ARGUMENT; }
bool AddsOrMultiplies(TokenKind op) { return op == TK_PLUS || op == TK_MINUS || op == TK_STAR; }

template <TokenKind OP1, TokenKind OP2>
Node* NewReturnSlots(const Node* value, bool innerLeft, SlotRef a, SlotRef b, SlotRef c) {
  if (innerLeft) return new ReturnSlotsNode<OP1, OP2, true>(value, a, b, c);
  return new ReturnSlotsNode<OP1, OP2, false>(value, a, b, c);
}
template <TokenKind OP1>
Node* NewReturnSlots(TokenKind op2, const Node* value, bool innerLeft, SlotRef a, SlotRef b, SlotRef c) {
  if (op2 == TK_PLUS) return NewReturnSlots<OP1, TK_PLUS>(value, innerLeft, a, b, c);
  if (op2 == TK_MINUS) return NewReturnSlots<OP1, TK_MINUS>(value, innerLeft, a, b, c);
  return NewReturnSlots<OP1, TK_STAR>(value, innerLeft, a, b, c);
}

// return a OP (b OP c) or (b OP c) OP a of plain locals and argument slots
// with + - *, as a ReturnSlotsNode; else null.
Node* ReturnOfSlots(const Node* value) {
  if (value->shape != SHAPE_BINARY) return nullptr;
  auto* outer = static_cast<const BinaryBase*>(value);
  const bool innerLeft = outer->left == NODE;
  const Where side = innerLeft ? outer->right : outer->left;
  const Node* in = innerLeft ? outer->l : outer->r;
  if (!AddsOrMultiplies(outer->op) || !IsSlot(side) || (innerLeft ? outer->left : outer->right) != NODE ||
      in->shape != SHAPE_BINARY)
    return nullptr;
  auto* inner = static_cast<const BinaryBase*>(in);
  if (!AddsOrMultiplies(inner->op) || !IsSlot(inner->left) || !IsSlot(inner->right)) return nullptr;
  SlotRef a{side == ARGUMENT, innerLeft ? outer->rs : outer->ls};
  SlotRef b{inner->left == ARGUMENT, inner->ls}, c{inner->right == ARGUMENT, inner->rs};
  if (outer->op == TK_PLUS) return NewReturnSlots<TK_PLUS>(inner->op, value, innerLeft, a, b, c);
  if (outer->op == TK_MINUS) return NewReturnSlots<TK_MINUS>(inner->op, value, innerLeft, a, b, c);
  return NewReturnSlots<TK_STAR>(inner->op, value, innerLeft, a, b, c);
}
}  // namespace

Node* Tree_Return(Node* value) {
  if (g_general) return new ReturnNode(value);
  if (Node* r = ReturnOfSlots(value)) return r;
  if (value->shape == SHAPE_BINARY)
    if (Node* r = WithBinary<false>(value, [](const auto* binary) -> Node* { return new ReturnValueNode(binary); }))
      return r;
  if (int slot = Tree_PlainArgument(value); slot >= 0) return new ReturnSlotNode<true>(slot);
  if (int slot = Tree_PlainLocal(value); slot >= 0) return new ReturnSlotNode<false>(slot);
  if (const RValue* k = value->Constant(); k && k->kind == VALUE_REAL) return new ReturnRealNode(k->val);
  return new ReturnNode(value);
}
Node* Tree_GlobalVarDecl(const std::vector<int>& ids) { return new GlobalVarDeclNode(ids); }
