// Running code units: the unit stack, local frames, argument slots, calls
// and the boundaries where run-time errors are caught.
#include <sys/resource.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "Code/Code_Context.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_Tree.h"
#include "Code/Code_BuiltinTable.h"
#include "Extension/Extension_Main.h"
#include "Script/Script_Main.h"

bool Code_CompileUnit(const std::string& text, bool expression, const std::string& unitName, CodeUnit** out);

std::string Code_ErrorText;
bool Code_RuntimeError = false;
namespace {
// Each running call (and each saved set) holds one frame; the slots of
// frames above the top are all the real 0. The first frame is that of code
// started from outside.
constexpr int ARGUMENT_FRAMES = 2 * CODE_MAX_DEPTH + 64;
CodeArgumentFrame g_argumentStack[ARGUMENT_FRAMES];
CodeArgumentFrame* g_argumentTop = &g_argumentStack[1];  // the next free frame
CodeArgumentFrame* const g_argumentEnd = &g_argumentStack[ARGUMENT_FRAMES - 1];
// The frame of code started from outside while no unit runs.
CodeArgumentFrame* g_outerFrame = &g_argumentStack[0];
}  // namespace
CodeArgumentCounts& g_ArgumentCounts = g_argumentStack[0].counts;

namespace {
// A run-time error on its way to the boundary of the outermost unit.
struct CodeFault {
  std::string text;
};

bool g_errorPending = false;
Ctx* g_current = nullptr;  // innermost running unit
uintptr_t g_stackLimit = 0;  // native stack address below which units stop

// Native stack the units may use before they stop with an error, leaving
// room below for built-ins and the system.
size_t StackBudget() {
  static size_t budget = [] {
    rlimit r{};
    size_t limit = 8u << 20;
    if (getrlimit(RLIMIT_STACK, &r) == 0 && r.rlim_cur != RLIM_INFINITY && r.rlim_cur < limit)
      limit = static_cast<size_t>(r.rlim_cur);
    return limit > (3u << 20) ? limit - (2u << 20) : limit / 3;
  }();
  return budget;
}

// Where the native stack stands: the stack pointer itself, not a local's
// address, as sanitizers may keep locals elsewhere.
[[gnu::always_inline]] inline uintptr_t StackHere() {
#if defined(__x86_64__)
  uintptr_t sp;
  asm("mov %%rsp, %0" : "=r"(sp));
  return sp;
#else
  return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
#endif
}

// The `var` slots of all running units, one frame per unit; those from the
// top on are all the real 0.
constexpr int LOCAL_STACK = 1 << 16;
CVariable g_localStack[LOCAL_STACK];
CVariable* g_localTop = g_localStack;
CVariable* const g_localEnd = g_localStack + LOCAL_STACK;

// Frees what argument slots hold and makes them the real 0 again.
inline void ReleaseSlot(RValue* slot) {
  if (slot->str) [[unlikely]] {
    MEM_FREE(slot->str);
    slot->str = nullptr;
  }
  slot->kind = VALUE_REAL;
  slot->val = 0.0;
}
inline void ReleaseSlots(RValue* slot, int count) {
  for (int k = 0; k < count; ++k) ReleaseSlot(&slot[k]);
}
// The same where the count is most likely N (a call's own argument count),
// which unrolls; N -1 knows no likely count.
template <int N>
[[gnu::always_inline]] inline void ReleaseSlots(RValue* slot, int count) {
  if (N < 0 || count != N) [[unlikely]]
    return ReleaseSlots(slot, count);
  for (int k = 0; k < N; ++k) ReleaseSlot(&slot[k]);
}

// Takes a frame of argument slots (all the real 0) from the top of the stack.
inline CodeArgumentFrame* TakeFrame() {
  CodeArgumentFrame* frame = g_argumentTop;
  if (frame >= g_argumentEnd) [[unlikely]]
    Code_Fail("Recursion too deep: no room for arguments.");
  g_argumentTop = frame + 1;
  return frame;
}

// The compiled unit of code; an error when there is none.
inline const CodeUnit* UnitOf(const CCode* code) {
  const CodeUnit* unit = code->Unit();
  if (!unit) [[unlikely]]
    Code_Fail("The code %s is not compiled.", code->Name());
  return unit;
}

// The error of a unit entered past the depth limit or the native stack's
// budget; out of line, as the calls that check are hot.
[[gnu::noinline, gnu::cold]] void TooDeep(int depth) {
  Code_Fail("Recursion too deep: code runs inside itself %d times.", depth);
}

// Runs the unit set up in c inside the running one (caller), a program from
// its statement from on. PROGRAM when the code is known to be no expression
// (a script's). Returns whether the code returned a value into c.result.
template <bool PROGRAM>
[[gnu::always_inline]] inline bool RunIn(Ctx& c, const CodeUnit* unit, Ctx* caller, int from) {
  g_current = &c;
  bool returned = true;
  if (!PROGRAM && c.code->IsExpression()) [[unlikely]] {
    c.line = unit->root->line;
    unit->root->Eval(c, c.result);
  } else {
    // The statements run here rather than through the root block: one call less.
    for (const Node* const* s = unit->statements.data() + from; *s; ++s) {
      c.line = (*s)->line;
      if ((*s)->Exec(c)) break;
    }
    returned = c.returned;
  }
  g_current = caller;
  return returned;
}

// The same for a unit that declares locals: it takes their frame from the
// local stack and gives it back.
template <bool PROGRAM>
[[gnu::noinline]] bool RunWithLocals(Ctx& c, const CodeUnit* unit, Ctx* caller, int from) {
  CVariable* locals = g_localTop;
  const int count = unit->locals;
  if (locals + count > g_localEnd) [[unlikely]]
    Code_Fail("Too many local variables in code running inside itself.");
  g_localTop = locals + count;
  c.locals = locals;
  bool returned = RunIn<PROGRAM>(c, unit, caller, from);
  // Most locals hold a real: only texts and arrays need freeing.
  for (int k = 0; k < count; ++k) {
    CVariable& v = locals[k];
    if (v.value.str || v.row) [[unlikely]]
      Variable_Clear(&v);
    v.value = RValue{VALUE_REAL, nullptr, 0.0};
  }
  g_localTop = locals;
  return returned;
}

// Runs code's unit inside the running one (caller; null at a boundary with
// no unit running) with the argument slots of frame. A run-time error leaves
// the unit stack as it stands: the boundary that catches it puts everything
// back. Returns whether the code returned a value into out.
template <bool PROGRAM = false>
[[gnu::always_inline]] inline bool RunUnit(const CCode* code, const CodeUnit* unit, CInstance* self, CInstance* other,
                                           RValue* out, Ctx* caller, CodeArgumentFrame* frame, int from = 0) {
  const int depth = caller ? caller->depth : 0;
  if (depth >= CODE_MAX_DEPTH || StackHere() < g_stackLimit) [[unlikely]]
    TooDeep(depth);
  // The line is set by each statement, or for an expression. Many scripts
  // declare no locals: they leave the local stack alone and have no frame.
  Ctx c{self, other, nullptr, code, out, frame, 0, depth + 1, false};
  if (unit->locals) [[unlikely]]
    return RunWithLocals<PROGRAM>(c, unit, caller, from);
  return RunIn<PROGRAM>(c, unit, caller, from);
}

// Runs a script's unit (from its statement from on) with the argc values in
// frame (from TakeFrame) as its arguments, then frees the frame with
// whatever the callee set (it may set more than it got). N is the likely
// argc, or -1.
template <int N = -1, bool PROGRAM = false>
[[gnu::always_inline]] inline void RunScript(const CCode* code, const CodeUnit* unit, CInstance* self, CInstance* other,
                                             CodeArgumentFrame* frame, int argc, RValue* out, Ctx* caller,
                                             int from = 0) {
  frame->counts = {argc, argc};
  RunUnit<PROGRAM>(code, unit, self, other, out, caller, frame, from);
  ReleaseSlots<N>(frame->slot, frame->counts.used);
  g_argumentTop = frame;
}

// Where running units are entered from outside and their errors caught.
// Keeps what the units change, and puts it all back when the scope is left
// before Passed() was called, that is by an exception: the frames of slots
// and locals the failed units took are freed. (A flag rather than a count
// of uncaught exceptions: that count is a thread-local read twice for each
// event run.) The outermost boundary also sets the native stack limit from
// where it stands.
class Boundary {
 public:
  Boundary()
      : m_top(g_argumentTop),
        m_outer(g_outerFrame),
        m_frame(Code_ArgumentFrame()),
        m_counts(m_frame->counts),
        m_current(g_current),
        m_locals(g_localTop),
        m_limit(g_stackLimit) {
    if (!g_current) {
      uintptr_t here = StackHere();
      size_t budget = StackBudget();
      g_stackLimit = here > budget ? here - budget : 0;
    }
  }
  ~Boundary() {
    if (!m_passed) [[unlikely]]
      Unwind();
    g_stackLimit = m_limit;
  }
  // The units ran to their end: what they changed stands.
  void Passed() { m_passed = true; }
  Boundary(const Boundary&) = delete;
  Boundary& operator=(const Boundary&) = delete;

 private:
  void Unwind() {
    for (CodeArgumentFrame* frame = m_top; frame < g_argumentTop; ++frame) ReleaseSlots(frame->slot, ARGUMENT_SLOTS);
    for (CVariable* v = m_locals; v < g_localTop; ++v) Variable_Clear(v);
    g_argumentTop = m_top;
    g_outerFrame = m_outer;
    m_frame->counts = m_counts;
    g_current = m_current;
    g_localTop = m_locals;
  }
  CodeArgumentFrame* m_top;
  CodeArgumentFrame* m_outer;
  CodeArgumentFrame* m_frame;  // the slots of the code that entered
  CodeArgumentCounts m_counts;
  Ctx* m_current;
  CVariable* m_locals;
  uintptr_t m_limit;
  bool m_passed = false;
};

void Dispatch(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* out, bool move) {
  if (id >= FUNCTION_ID_EXTENSION) {
    if (!Extension_Call(id - FUNCTION_ID_EXTENSION, self, other, argc, args, out)) Code_Fail("%s", Code_ErrorText.c_str());
    return;
  }
  if (id >= FUNCTION_ID_SCRIPT) {
    CCode* code = Script_GetCode(id - FUNCTION_ID_SCRIPT);
    if (!code) Code_Fail("Trying to execute non-existing script.");
    CodeArgumentFrame* frame = TakeFrame();
    for (int k = 0; k < argc; ++k) {
      if (move) std::swap(frame->slot[k], args[k]);
      else RValue_Copy(&frame->slot[k], &args[k]);
    }
    RunScript(code, UnitOf(code), self, other, frame, argc, out, g_current);
    return;
  }
  const RFunction* f = Function_Get(id);
  if (!f || !f->routine) Code_Fail("Unknown function id %d.", id);
  f->routine(*out, self, other, argc, args);
}
}  // namespace

void Code_Fail(const char* fmt, ...) {
  char message[1024];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(message, sizeof message, fmt, args);
  va_end(args);
  if (!g_current) throw CodeFault{message};
  char framed[1400];
  std::snprintf(framed, sizeof framed, "%s (line %d): %s", g_current->code->Name(), g_current->line, message);
  throw CodeFault{framed};
}

namespace {
// Script calls take their arguments into a fresh frame of slots, so only
// argc values are made, each as its ScriptArgument says.
class ScriptCallBase : public CallBase {
 public:
  ScriptCallBase(const std::vector<Node*>& a, int n) : CallBase(a), unrolled(n) { shape = SHAPE_SCRIPT_CALL; }
  int unrolled;  // the N of the ScriptCallNode
};

// N is the argument count when the node is built for one (the loops
// unroll), else -1.
template <int N>
class ScriptCallNode final : public ScriptCallBase {
 public:
  ScriptCallNode(int i, const std::vector<Node*>& a, const ScriptArgument* ways) : ScriptCallBase(a, N), index(i) {
    for (int k = 0; k < argc; ++k) way[k] = ways[k];
  }
  // The call in a statement that keeps its value (LocalCallStore), whose
  // registers are saved for the run anyway: the callee's value is computed
  // inline.
  [[gnu::always_inline]] void Call(Ctx& c, RValue* out) const {
    if (!ready) {
      if (!Unready(c, out)) Run(c, out, 0);
      return;
    }
    if (int from = Start(c, out); from >= 0) Run(c, out, from);
  }
  // The call answered from the callee's guard, or run out of line: the
  // answer needs no saved registers. (A callee not ready is never guarded.)
  void Eval(Ctx& c, RValue* out) const override {
    int from = Start(c, out);
    if (from < 0) return;
    if (!ready) [[unlikely]]
      Asking(c, out);
    else
      Running(c, out, from);
  }
  double Real(Ctx& c, RValue* spill) const override {
    int from = Start(c, spill);
    if (from < 0) return spill->val;
    if (!ready) [[unlikely]]
      return Asking(c, spill);
    return Running(c, spill, from);
  }

 private:
  // -1 when the callee's guard answered the call, else the statement the
  // callee runs from.
  [[gnu::always_inline]] int Start(Ctx& c, RValue* out) const { return N >= 0 && guarded ? Answer(c, out) : 0; }
  [[gnu::noinline]] double Running(Ctx& c, RValue* out, int from) const {
    Run(c, out, from);
    return out->val;
  }
  // A call whose callee is not ready, out of line.
  [[gnu::noinline]] double Asking(Ctx& c, RValue* out) const {
    if (!Unready(c, out)) return Running(c, out, 0);
    return out->val;
  }
  // Runs the callee from its statement from; FIRST finds it, after the
  // arguments, at the first call.
  template <bool FIRST = false>
  [[gnu::always_inline]] void Run(Ctx& c, RValue* out, int from) const {
    CodeArgumentFrame* frame = TakeFrame();
    RValue* slot = frame->slot;
    const int count = N < 0 ? argc : N;
#pragma GCC unroll 4
    for (int k = 0; k < count; ++k) {
      const ScriptArgument& w = way[k];
      if (w.how == ScriptArgument::REAL) {
        slot[k].val = w.add;  // the slot is already a real
      } else if (w.how == ScriptArgument::LOCAL) {
        Value_CopyOut(&slot[k], c.locals[w.slot].value);
      } else if (w.how == ScriptArgument::ARGUMENT_OPERATION) {
        Operation(c, k, c.frame->slot[w.slot], &slot[k]);
      } else if (w.how == ScriptArgument::LOCAL_OPERATION) {
        Operation(c, k, c.locals[w.slot].value, &slot[k]);
      } else if (w.how == ScriptArgument::ARGUMENT) {
        Value_CopyOut(&slot[k], c.frame->slot[w.slot]);
      } else {
        args[k]->Eval(c, &slot[k]);
      }
    }
    if (FIRST) Find();
    RunScript<N, true>(code, unit, c.self, c.other, frame, count, out, &c, from);
  }
  // Argument k, an operation on the value v of a slot, into out (the real 0).
  [[gnu::always_inline]] void Operation(Ctx& c, int k, const RValue& v, RValue* out) const {
    if (v.kind == VALUE_STRING) [[unlikely]]
      return args[k]->Eval(c, out);  // the operator's error or its text
    out->val = v.val * way[k].times + way[k].add;
  }
  // The call answered from the callee's guard (see ScriptGuard) when its
  // test holds: the arguments, made without effects, hold no text, and the
  // call would pass every limit it checks; then -1. Else nothing changes,
  // and the callee is run: from its second statement when the guard's test
  // is known not to hold (the arguments are made from the same values),
  // else from the first.
  [[gnu::always_inline]] int Answer(Ctx& c, RValue* out) const {
    RValue v[N > 0 ? N : 1];
    if (!PeekAll(c, v)) return 0;
    // Slots past the arguments hold the real 0.
    auto slot = [&v](int s) -> const RValue& {
      static constexpr RValue kZero{VALUE_REAL, nullptr, 0.0};
      if constexpr (N > 0)
        if (s < N) return v[s];
      return kZero;
    };
    if (!Value_CompareReals(guard.test.op, slot(guard.test.slot).val, guard.test.k)) return 1;
    if (!WithinLimits(c)) [[unlikely]]
      return 0;
    if (guard.returned < 0) {
      out->kind = VALUE_REAL;
      out->val = guard.value;
    } else {
      const RValue& r = slot(guard.returned);
      out->kind = r.kind;
      out->val = r.val;
    }
    return -1;
  }
  // A call whose callee is not ready: not yet found (then its first run,
  // from its first statement, as a callee not found has no guard: true), or
  // one whose value the call computes: true when it did, else false, and
  // the callee is to run from its first statement. Testing ready before
  // running keeps the usual call as short as it was before values were
  // computed, and Start, for the guard's answer, shorter.
  [[gnu::always_inline]] bool Unready(Ctx& c, RValue* out) const {
    if (!unit) return First(c, out);
    if constexpr (N > 0)  // else always ready once found
      return Compute(c, out);
    return false;
  }
  [[gnu::noinline]] bool First(Ctx& c, RValue* out) const {
    Run<true>(c, out, 0);
    return true;
  }
  // The call answered from the value the callee's first statement returns
  // (see Node::Returns) when the arguments, made without effects, hold no
  // text and the call would pass every limit it checks: then true; else
  // nothing changes, and the callee is run.
  [[gnu::always_inline]] bool Compute(Ctx& c, RValue* out) const {
    RValue v[N];
    return PeekAll(c, v) && WithinLimits(c) && formula->Returns(v, out);
  }
  // Whether a run of the callee would pass the limits of depth, native
  // stack and argument frames: an answer in its place is then the same.
  [[gnu::always_inline]] static bool WithinLimits(const Ctx& c) {
    return c.depth < CODE_MAX_DEPTH && StackHere() >= g_stackLimit && g_argumentTop < g_argumentEnd;
  }
  // The N arguments' kinds and reals into v (their texts unused), when
  // every one is made without effect or error and holds no text; else false.
  [[gnu::always_inline]] bool PeekAll(Ctx& c, RValue* v) const {
    for (int k = 0; k < N; ++k)
      if (!Peek(c, k, &v[k])) return false;
    return true;
  }
  // Argument k's kind and real as its way makes it, when that way has no
  // effect (nor error) and gives no text; else false.
  [[gnu::always_inline]] bool Peek(Ctx& c, int k, RValue* v) const {
    const ScriptArgument& w = way[k];
    const RValue* from;
    if (w.how == ScriptArgument::REAL) {
      v->kind = VALUE_REAL;
      v->val = w.add;
      return true;
    }
    if (w.how == ScriptArgument::ARGUMENT_OPERATION || w.how == ScriptArgument::ARGUMENT) from = &c.frame->slot[w.slot];
    else from = &c.locals[w.slot].value;
    if (from->kind == VALUE_STRING) return false;
    const bool copied = w.how == ScriptArgument::LOCAL || w.how == ScriptArgument::ARGUMENT;
    v->kind = copied ? from->kind : VALUE_REAL;
    v->val = copied ? from->val : from->val * w.times + w.add;
    return true;
  }
  // Scripts compile after their callers: the code and its unit are found at
  // the first call, and with them whether the unit starts with a guard the
  // call can answer, or with a return whose value the call can compute
  // (never for arguments made by nodes, which may have effects).
  [[gnu::noinline]] void Find() const {
    const CCode* found = Script_GetCode(index);
    if (!found) Code_Fail("Trying to execute non-existing script.");
    unit = UnitOf(found);
    code = found;
    const Node* first = unit->statements.empty() ? nullptr : unit->statements[0];
    bool plain = N >= 0 && !unit->locals && first;
    for (int k = 0; k < argc; ++k)
      if (way[k].how == ScriptArgument::NODE) plain = false;
    guarded = plain && first->Guard(&guard);
    formula = plain && !guarded && first->ReturnsFromArguments(argc) ? first : nullptr;
    ready = !formula;
  }
  int index;
  mutable const CCode* code = nullptr;
  mutable const CodeUnit* unit = nullptr;
  mutable bool guarded = false;
  mutable const Node* formula = nullptr;  // the callee's first statement, whose value a call computes
  mutable bool ready = false;             // the callee found, and no value of its to compute
  mutable ScriptGuard guard;
  ScriptArgument way[MAX_ARGUMENTS];
};

// local = call, local += call, local -= call (OP): the call's value is made
// into a value of the statement's own and, a real, stored straight into a
// local holding no text; anything else is stored as the local's Assign does.
template <int N, TokenKind OP>
class LocalCallStore final : public Node {
 public:
  LocalCallStore(VarNode* v, int s, const ScriptCallNode<N>* e) : var(v), slot(s), call(e) {}
  int Exec(Ctx& c) const override {
    Temp t;
    call->Call(c, &t);
    RValue& e = c.locals[slot].value;
    if (t.kind == VALUE_REAL && e.kind != VALUE_STRING) [[likely]] {
      e.kind = VALUE_REAL;
      e.val = OP == TK_ASSIGN ? t.val : OP == TK_PLUSASSIGN ? e.val + t.val : e.val - t.val;
      return FLOW_NORMAL;
    }
    var->Assign(c, OP, &t);
    return FLOW_NORMAL;
  }
  VarNode* var;
  int slot;
  const ScriptCallNode<N>* call;
};

template <TokenKind OP>
Node* NewCallStore(VarNode* var, int slot, const Node* call) {
  switch (static_cast<const ScriptCallBase*>(call)->unrolled) {
    case 0: return new LocalCallStore<0, OP>(var, slot, static_cast<const ScriptCallNode<0>*>(call));
    case 1: return new LocalCallStore<1, OP>(var, slot, static_cast<const ScriptCallNode<1>*>(call));
    case 2: return new LocalCallStore<2, OP>(var, slot, static_cast<const ScriptCallNode<2>*>(call));
    case 3: return new LocalCallStore<3, OP>(var, slot, static_cast<const ScriptCallNode<3>*>(call));
    default: return new LocalCallStore<-1, OP>(var, slot, static_cast<const ScriptCallNode<-1>*>(call));
  }
}
}  // namespace

Node* Code_NewScriptCallStore(VarNode* var, int slot, TokenKind op, const Node* call) {
  if (op == TK_PLUSASSIGN) return NewCallStore<TK_PLUSASSIGN>(var, slot, call);
  if (op == TK_MINUSASSIGN) return NewCallStore<TK_MINUSASSIGN>(var, slot, call);
  return NewCallStore<TK_ASSIGN>(var, slot, call);
}

Node* Code_NewScriptCall(int index, const std::vector<Node*>& args, const ScriptArgument* ways, bool general) {
  switch (general ? -1 : static_cast<int>(args.size())) {
    case 0: return new ScriptCallNode<0>(index, args, ways);
    case 1: return new ScriptCallNode<1>(index, args, ways);
    case 2: return new ScriptCallNode<2>(index, args, ways);
    case 3: return new ScriptCallNode<3>(index, args, ways);
    default: return new ScriptCallNode<-1>(index, args, ways);
  }
}

void Code_Dispatch(int id, Ctx& c, int argc, RValue* args, RValue* out) {
  Dispatch(id, c.self, c.other, argc, args, out, true);
}

// ---------------------------------------------------------------- code units
CCode::CCode(const char* text, bool expression) : m_text(text ? text : ""), m_expression(expression) {}

CCode::~CCode() { delete m_unit; }

bool CCode::Compile(const char* unitName) {
  m_name = unitName ? unitName : "";
  delete m_unit;
  m_unit = nullptr;
  return Code_CompileUnit(m_text, m_expression, m_name, &m_unit);
}

const char* Code_CurrentUnitName() { return g_current ? g_current->code->Name() : nullptr; }
int Code_CurrentLine() { return g_current ? g_current->line : -1; }

void Code_Error(const char* text) {
  Code_ErrorText = text ? text : "";
  g_errorPending = true;
}
bool Code_ErrorPending() { return g_errorPending; }
void Code_ErrorClear() { g_errorPending = false; }

namespace {
// Runs a unit at a boundary: the fault text on failure, nothing otherwise.
bool RunGuarded(CInstance* self, CInstance* other, CCode* code, RValue* result) {
  Code_RuntimeError = false;
  try {
    Boundary boundary;
    if (!code) Code_Fail("No code to run.");
    Temp value;
    if (RunUnit(code, UnitOf(code), self, other, &value, g_current, Code_ArgumentFrame())) Value_Take(result, &value);
    boundary.Passed();
    return true;
  } catch (const CodeFault& f) {
    Code_ErrorText = f.text;
    Code_RuntimeError = true;
    return false;
  }
}
}  // namespace

bool Code_Evaluate(CInstance* self, CInstance* other, CCode* code, RValue* result) {
  if (RunGuarded(self, other, code, result)) return true;
  RValue_SetString(result, "ERROR");
  return false;
}

bool Code_ExecuteOrReport(CInstance* self, CInstance* other, CCode* code, RValue* result) {
  if (RunGuarded(self, other, code, result)) return true;
  std::string text = Code_ErrorText;  // the report may run code that changes it
  Error_Show_Action(text.c_str(), false);
  return false;
}

bool Code_CallFunction(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result) {
  RValue_Free(result);
  if (argc < 0 || argc > MAX_ARGUMENTS) {
    Code_ErrorText = "Illegal argument count";
    return false;
  }
  try {
    Boundary boundary;
    Dispatch(id, self, other, argc, args, result, false);
    boundary.Passed();
    return true;
  } catch (const CodeFault& f) {
    Code_ErrorText = f.text;
    Code_RuntimeError = true;
    return false;
  }
}

bool Code_RunScript(CCode* code, const char* name, CInstance* self, CInstance* other, int argc, const RValue* args, RValue* result) {
  RValue_Free(result);
  Code_RuntimeError = false;
  Code_ErrorClear();
  if (argc > MAX_ARGUMENTS) argc = MAX_ARGUMENTS;
  try {
    Boundary boundary;
    if (!code) Code_Fail("Trying to execute non-existing script.");
    if (argc < 0) argc = 0;
    CodeArgumentFrame* frame = TakeFrame();
    for (int k = 0; k < argc; ++k) RValue_Copy(&frame->slot[k], &args[k]);
    RunScript(code, UnitOf(code), self, other, frame, argc, result, g_current);
    boundary.Passed();
    return true;
  } catch (const CodeFault& f) {
    Code_RuntimeError = true;
    Code_Error((std::string("In script ") + name + ":\n" + f.text).c_str());
    return false;
  }
}

// ---------------------------------------------------------------- argument slots
namespace {
// Where the running code keeps its frame of argument slots.
CodeArgumentFrame*& FrameHolder() { return g_current ? g_current->frame : g_outerFrame; }
}  // namespace

CodeArgumentFrame* Code_ArgumentFrame() { return FrameHolder(); }

const RValue* Code_Argument(int index) {
  static const RValue zero{VALUE_REAL, nullptr, 0.0};
  return index >= 0 && index < ARGUMENT_SLOTS ? &Code_ArgumentFrame()->slot[index] : &zero;
}

void Code_Arguments_Save(CodeArgumentSave* save) {
  CodeArgumentFrame*& holder = FrameHolder();
  CodeArgumentFrame* frame = holder;
  save->frame = frame;
  save->used = frame->counts.used;
  save->count = frame->counts.count;
  save->top = g_argumentTop;
  // Past the end the fresh slots share the last frame: only nesting far
  // beyond the unit depth limit gets there. argument_count stays.
  holder = g_argumentTop;
  holder->counts = {0, save->count};
  if (g_argumentTop < g_argumentEnd) ++g_argumentTop;
}

void Code_Arguments_Set(int argc, const RValue* args) {
  if (argc > ARGUMENT_SLOTS) argc = ARGUMENT_SLOTS;
  CodeArgumentFrame* frame = Code_ArgumentFrame();
  for (int k = 0; k < ARGUMENT_SLOTS; ++k) {
    if (k < argc) RValue_Copy(&frame->slot[k], &args[k]);
    else RValue_Free(&frame->slot[k]);
  }
  frame->counts.used = argc < 0 ? 0 : argc;
}

void Code_Arguments_Restore(CodeArgumentSave* save) {
  CodeArgumentFrame*& holder = FrameHolder();
  for (int k = 0; k < holder->counts.used; ++k) RValue_Free(&holder->slot[k]);
  holder = save->frame;
  g_argumentTop = save->top;
  holder->counts = {save->used, save->count};
  save->used = 0;
}
