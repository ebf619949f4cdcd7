// Statements and flow: blocks, branches, loops, with, switch and return.
#pragma once
#include <array>
#include <type_traits>
#include <vector>

#include "Code/Tree/Tree_Variables.h"

namespace tree {
// Runs a statement, keeping the line for error messages and the debugger.
inline int Run(Ctx& c, const Node* s) {
  c.line = s->line;
  return s->Exec(c);
}

class FlowNode final : public Node {
 public:
  explicit FlowNode(Flow f) : flow(f) { shape = SHAPE_FLOW; }
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
    const bool general = Tree_GeneralNodes();  // every statement through its node
    for (const Node* s : list) {
      Step step{s, s->line, Step::CALL, FLOW_NORMAL, -1, 0.0};
      if (!general && s->LocalStep(&step.slot, &step.delta)) {
        step.kind = Step::STEP;
      } else if (!general && s->shape == SHAPE_FLOW) {
        step.kind = Step::FLOW;
        step.flow = static_cast<const FlowNode*>(s)->flow;
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
        if (Value_StepLocal(c, s->slot, s->delta)) [[likely]]
          continue;
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
  explicit BlockNode(const std::vector<Node*>& s) : list(s), run(s) { shape = SHAPE_BLOCK; }
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
    if (n && n->shape == SHAPE_BLOCK) return static_cast<const BlockNode*>(n)->list;
    if (n) return {const_cast<Node*>(n)};
    return {};
  }
  bool m_present;
  Statements m_run;
};

// return of an argument slot's text: copied, as the slot stays the caller's.
[[gnu::noinline]] int ReturnText(Ctx& c, const RValue& v);

// return of an argument slot or of a plain local, made without a call. The
// unit ends with the return, so a local's value moves into the result.
template <bool ARGUMENT>
[[gnu::always_inline]] inline int ReturnSlot(Ctx& c, int slot) {
  if (ARGUMENT) {
    const RValue& v = c.frame->slot[slot];
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

// A plain local or argument slot, read where it is stored.
struct SlotRef {
  bool argument;
  int slot;
  [[gnu::always_inline]] const RValue& In(Ctx& c) const { return argument ? c.frame->slot[slot] : c.locals[slot].value; }
};

// return a OP1 (b OP2 c), or (b OP2 c) OP1 a when INNER_LEFT, of three
// plain locals or argument slots and the operators + - * (return argument0
// + argument1 * argument2). Three reals give the value here, the operators
// in the same order, without a call of either operator node; anything else
// (a text, a marked real) goes to the outer node, as the general path. Of
// argument slots alone, a call can have the value from three reals without
// running the unit (Returns).
template <TokenKind OP1, TokenKind OP2, bool INNER_LEFT>
class ReturnSlotsNode final : public Node {
 public:
  ReturnSlotsNode(const Node* v, SlotRef x, SlotRef y, SlotRef z) : value(v), a(x), b(y), c(z) {}
  int Exec(Ctx& x) const override {
    if (!Of(a.In(x), b.In(x), c.In(x), x.result)) [[unlikely]]
      return ByNode(x);
    x.returned = true;
    return FLOW_EXIT;
  }
  bool ReturnsFromArguments(int argc) const override {
    return a.argument && b.argument && c.argument && a.slot < argc && b.slot < argc && c.slot < argc;
  }
  bool Returns(const RValue* args, RValue* out) const override { return Of(args[a.slot], args[b.slot], args[c.slot], out); }

 private:
  // The value of three reals into out; false for anything else.
  [[gnu::always_inline]] static bool Of(const RValue& va, const RValue& vb, const RValue& vc, RValue* out) {
    if ((va.kind | vb.kind | vc.kind) != VALUE_REAL) [[unlikely]]
      return false;
    double inner = RealOp<OP2>(vb.val, vc.val);
    out->val = INNER_LEFT ? RealOp<OP1>(inner, va.val) : RealOp<OP1>(va.val, inner);
    return true;
  }
  [[gnu::noinline]] int ByNode(Ctx& x) const {
    x.result->val = value->Real(x, x.result);
    x.returned = true;
    return FLOW_EXIT;
  }
  const Node* value;
  SlotRef a, b, c;
};

template <bool ARGUMENT>
class ReturnSlotNode final : public Node {
 public:
  explicit ReturnSlotNode(int s) : slot(s) { shape = ARGUMENT ? SHAPE_RETURN_ARGUMENT : SHAPE_RETURN_LOCAL; }
  int Exec(Ctx& c) const override { return ReturnSlot<ARGUMENT>(c, slot); }
  int slot;
};

// return of a real constant (return 0;).
class ReturnRealNode final : public Node {
 public:
  explicit ReturnRealNode(double v) : value(v) { shape = SHAPE_RETURN_REAL; }
  int Exec(Ctx& c) const override {
    c.result->kind = VALUE_REAL;
    c.result->val = value;
    c.returned = true;
    return FLOW_EXIT;
  }
  double value;
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
  bool Guard(ScriptGuard* g) const {
    g->test = Compare{Compare::ARGUMENT, OP, m_slot, -1, m_k};
    return ARGUMENT;
  }

 private:
  const Node* m_node;
  int m_slot;
  double m_k;
};

// A plain local compared with a real constant, the local kept as its frame
// offset (one instruction to reach).
template <TokenKind OP>
struct LocalAgainst {
  explicit LocalAgainst(const Compare& k) : at(FrameOffset(k.slot)), k(k.k) {}
  [[gnu::always_inline]] int Test(Ctx& c) const { return CompareInPlace<OP>(FrameAt(c, at).value, k); }
  size_t at;
  double k;
};

// Two comparisons of plain locals with real constants joined by && (AND)
// or || (x > 1000 && x != 5), n the LogicNode joining them: tested inline.
template <TokenKind OP1, TokenKind OP2, bool AND>
class PairTest {
 public:
  PairTest(const Node* n, const Compare&)
      : m_node(n), m_first(Part(static_cast<const LogicNode*>(n)->left)),
        m_second(Part(static_cast<const LogicNode*>(n)->right)) {}
  int Quick(Ctx& c) const {
    int r = m_first.Test(c);
    if (r < 0 || r != AND) return r;  // && stops at false, || at true
    return m_second.Test(c);
  }
  bool Ask(Ctx& c) const { return m_node->Test(c); }

 private:
  static Compare Part(const Node* n) {
    Compare k;
    n->Comparison(&k);
    return k;
  }
  const Node* m_node;
  LocalAgainst<OP1> m_first;
  LocalAgainst<OP2> m_second;
};

// What an if runs when its test holds: a body, or a return of a plain local
// or argument slot (if (n < 2) return n;) made inline.
template <bool ARGUMENT>
class ReturnSlotRun {
 public:
  explicit ReturnSlotRun(const Node* n) : m_slot(static_cast<const ReturnSlotNode<ARGUMENT>*>(n)->slot) {}
  int Run(Ctx& c) const { return ReturnSlot<ARGUMENT>(c, m_slot); }
  bool Guard(ScriptGuard* g) const {
    g->returned = m_slot;
    return ARGUMENT;
  }

 private:
  int m_slot;
};

// What an if runs when its test holds: a return of a real constant.
class ReturnRealRun {
 public:
  explicit ReturnRealRun(const Node* n) : m_node(static_cast<const ReturnRealNode*>(n)) {}
  int Run(Ctx& c) const { return m_node->ReturnRealNode::Exec(c); }
  bool Guard(ScriptGuard* g) const {
    g->returned = -1;
    g->value = m_node->value;
    return true;
  }

 private:
  const ReturnRealNode* m_node;
};

// What an if runs when its test holds: a plain local stepped by a real
// constant (if (x > 1) n += 1;), in place as a statement list steps it.
class StepRun {
 public:
  explicit StepRun(const Node* n) : m_node(n) {
    int slot = -1;
    n->LocalStep(&slot, &m_delta);
    m_at = FrameOffset(slot);
  }
  int Run(Ctx& c) const {
    if (Value_Step(FrameAt(c, m_at).value, m_delta)) [[likely]]
      return FLOW_NORMAL;
    return tree::Run(c, m_node);
  }

 private:
  const Node* m_node;
  size_t m_at;  // the local's frame offset
  double m_delta = 0.0;
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
  bool Guard(ScriptGuard* g) const override {
    if constexpr (requires { test.Guard(g) && then.Guard(g); })
      return !otherwise && test.Guard(g) && then.Guard(g);
    return false;
  }
  TEST test;
  THEN then;
  Body otherwise;

 private:
  [[gnu::noinline]] int Decide(Ctx& c) const { return test.Ask(c) ? then.Run(c) : Else(c); }
  [[gnu::noinline]] int Else(Ctx& c) const { return otherwise ? otherwise.Run(c) : FLOW_NORMAL; }
};

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

// while (local OP k) { s1; ...; sCALLS; step } with the step a plain local
// stepped by a real constant (i += 1): the statements run unrolled without
// the statement list's tests of each one's kind, and the step is made in
// place (through its node when the local holds a text, for the error).
template <TokenKind OP, int CALLS>
class SteppedWhileNode final : public Node {
 public:
  SteppedWhileNode(Node* c, const std::vector<Node*>& b, const Compare& k) : cond(c), test(k), step(b[CALLS]) {
    for (int n = 0; n < CALLS; ++n) statements[n] = b[n];
  }
  // The loop's line comes back only where it can be seen: when the node
  // tests the condition and when the loop ends. The test in place runs no
  // code and cannot fail.
  int Exec(Ctx& c) const override {
    for (;;) {
      int holds = test.Test(c);
      if (holds < 0) [[unlikely]]
        holds = Ask(c);
      if (!holds) {
        c.line = line;
        return FLOW_NORMAL;
      }
      if (int r = Body(c)) {
        int f = LoopFlow(r);
        if (f == LOOP_STOP) return FLOW_NORMAL;
        if (f == LOOP_EXIT) return FLOW_EXIT;
      }
    }
  }

 private:
  [[gnu::always_inline]] int Body(Ctx& c) const {
#pragma GCC unroll 4
    for (int n = 0; n < CALLS; ++n) {
      c.line = statements[n]->line;
      if (int r = statements[n]->Exec(c)) return r;
    }
    return step.Run(c);
  }
  [[gnu::noinline]] bool Ask(Ctx& c) const {
    c.line = line;
    return cond.Test(c);
  }
  Condition cond;
  LocalAgainst<OP> test;
  StepRun step;
  const Node* statements[CALLS];
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
      if (InstanceMarked(inst)) continue;  // destroyed by an earlier pass of the body
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

// Whether every label of a switch is a constant.
inline bool SwitchConstantLabels(const std::vector<SwitchCase>& cases) {
  for (const SwitchCase& x : cases)
    if (x.value && !x.value->Constant()) return false;
  return true;
}

// A switch. VALUE is Node for any value, else the class of the value's node
// read inline: LocalIndexed for a local array read at a computed index
// (w[i mod 4]) with every label a constant.
template <class VALUE>
class SwitchNode final : public Node {
 public:
  SwitchNode(Node* v, const std::vector<SwitchCase>& k, const std::vector<Node*>& b) : value(v), body(b) {
    head.fill(nullptr);
    std::array<Label*, 256> tail;
    tail.fill(nullptr);
    constant = SwitchConstantLabels(k) && !Tree_GeneralNodes();
    labels.reserve(k.size());  // the chains point into it
    for (const SwitchCase& x : k) {
      if (!x.value) {
        fallback = TargetAt(b, x.position);  // the last default label counts
        continue;
      }
      const RValue* k = x.value->Constant();
      const char* text = k && k->kind == VALUE_STRING ? RValue_Text(*k) : nullptr;
      Label& label =
          labels.emplace_back(Label{x.value, k, text, text ? std::strlen(text) : 0, nullptr, TargetAt(b, x.position)});
      if (!text) continue;
      // Text labels are chained by first byte, each chain in label order.
      unsigned char first = static_cast<unsigned char>(*text);
      (tail[first] ? tail[first]->next : head[first]) = &label;
      tail[first] = &label;
    }
  }
  int Exec(Ctx& c) const override {
    if constexpr (!std::is_same_v<VALUE, Node>) {
      // A text read in place: no value is made and no call is needed
      // unless a case runs statements.
      const RValue* v = static_cast<const VALUE*>(value)->ComputedElement(c);
      if (v && v->kind == VALUE_STRING) [[likely]]
        return TextGo(c, v->str);
    }
    return ExecGeneral(c);
  }

 private:
  // Where a label leads. A case that only steps a plain local and then
  // breaks or ends the body is run here without the statement loop. The
  // break's line is not set: the step cannot fail, and whatever runs after
  // the switch sets its own line before anything can fail.
  struct Target {
    int position = -1;  // of the first statement after the label, -1 for none
    int slot = -1;      // the stepped local of such a case, else -1
    double delta = 0.0;
  };
  struct Label {
    const Node* node;
    const RValue* constant;  // the case's constant, else null
    const char* text;        // the constant's text when it is a string, else null
    size_t length;           // of that text
    const Label* next;       // the next text label with the same first byte, else null
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
    const Node* next = b[p + 1];
    if (next->shape != SHAPE_FLOW || static_cast<const FlowNode*>(next)->flow != FLOW_BREAK) t.slot = -1;
    return t;
  }
  // With constant cases no code runs before the body: a stored value is
  // compared where it stands, and each case's constant where it stands.
  [[gnu::noinline]] int ExecGeneral(Ctx& c) const {
    Temp spill;
    const Target* t;
    if (constant) {
      const RValue* v = value->Read(c, &spill);
      t = v->kind == VALUE_STRING ? TextTarget(RValue_Text(*v)) : Start(c, *v);
    } else {
      value->Eval(c, &spill);
      t = Start(c, spill);
    }
    return Go(c, *t);
  }
  // Runs from the label a text matches; out of line, so that reading the
  // value needs no saved registers.
  [[gnu::noinline]] int TextGo(Ctx& c, const char* text) const { return Go(c, *TextTarget(text ? text : "")); }
  [[gnu::always_inline]] int Go(Ctx& c, const Target& t) const {
    if (t.slot >= 0 && Value_StepLocal(c, t.slot, t.delta)) [[likely]]
      return FLOW_NORMAL;
    return t.position < 0 ? FLOW_NORMAL : Enter(c, t.position);
  }
  // Where the body starts for a text when every label is a constant: only
  // the labels sharing the text's first byte are compared, in order (the
  // empty text's chain holds the empty labels, the first of which matches).
  const Target* TextTarget(const char* text) const {
    for (const Label* k = head[static_cast<unsigned char>(*text)]; k; k = k->next)
      if (SameRest(text, *k)) return &k->target;
    return &fallback;
  }
  // Whether text, whose first byte is the label's, is the label: the bytes
  // from the second to the label's end compared in order, so a shorter text
  // differs at its own end and no byte past it is read. The last eight are
  // compared without a loop, entering the run of comparisons at their count.
  static bool SameRest(const char* text, const Label& label) {
    size_t n = label.length;
    for (size_t k = 1; k + 8 <= n; ++k)
      if (text[k] != label.text[k]) return false;
    const char* t = text + n;
    const char* l = label.text + n;
    switch (n < 8 ? n : 8) {
      case 8: if (t[-7] != l[-7]) return false; [[fallthrough]];
      case 7: if (t[-6] != l[-6]) return false; [[fallthrough]];
      case 6: if (t[-5] != l[-5]) return false; [[fallthrough]];
      case 5: if (t[-4] != l[-4]) return false; [[fallthrough]];
      case 4: if (t[-3] != l[-3]) return false; [[fallthrough]];
      case 3: if (t[-2] != l[-2]) return false; [[fallthrough]];
      case 2: if (t[-1] != l[-1]) return false; [[fallthrough]];
      default: return *t == 0;
    }
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
  std::array<const Label*, 256> head;  // the first text label of each first byte, else null
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
}  // namespace tree
