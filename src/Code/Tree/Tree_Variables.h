// The variable nodes: locals, arguments, self's, other's, global and
// target variables, built-in variables; their indices and stores.
#pragma once
#include <deque>
#if defined(__x86_64__)
#include <emmintrin.h>
#endif
#include <string>
#include <vector>

#include "Code/Code_Main.h"
#include "Code/Code_World.h"
#include "Code/Tree/Tree_Operators.h"
#include "Option/Option_Main.h"
#include "Variable/Variable_BuiltIn.h"

namespace tree {
// An index that is no whole number from 0 to 31999: rounded, or an error.
[[gnu::noinline]] int IndexRounded(bool text, double d, const std::string& name);

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
}  // namespace tree

// a[j] is a[0, j].
[[gnu::always_inline]] inline void VarNode::Indices(Ctx& c, int* i, int* j) const {
  if (index2) {
    *i = tree::FastIndex(c, local1, index1, name);
    *j = tree::FastIndex(c, local2, index2, name);
  } else {
    *i = 0;
    *j = index1 ? tree::FastIndex(c, local1, index1, name) : 0;
  }
}

namespace tree {
// Reads element (i, j) of a stored variable, with the unknown-variable rule.
void ReadStored(const VarNode* n, CVariable* v, int i, int j, RValue* out);
// Appends text to the string e in its own block, which grows by doubling:
// a string built piece by piece is copied a few times, not once per piece.
void AppendInPlace(RValue* e, const char* text);
// Old value of an increment (TK_INC) or decrement (TK_DEC) of e, which is
// stepped by one.
void Step(const VarNode* n, RValue* e, TokenKind op, RValue* old);
// Stores value (consumed) into e, combining with its old value for compound
// ops; TK_INC and TK_DEC step e and leave its old value in value.
void Store(const VarNode* n, RValue* e, TokenKind op, RValue* value);

// Writes into a stored variable; compound ops read it first (unknown rule).
[[gnu::always_inline]] inline void WriteStored(const VarNode* n, CVariable* v, int i, int j, TokenKind op, RValue* value) {
  if (op == TK_ASSIGN) [[likely]]
    return Value_Take(Variable_ElementGrow(v, i, j), value);
  if (!Variable_Element(v, i, j) && !g_GameOptions.unknown_variables_zero)
    Code_Fail(n->index1 ? "Unknown array element %s[%d,%d]" : "Unknown variable %s", n->name.c_str(), i, j);
  Store(n, Variable_ElementGrow(v, i, j), op, value);
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
  explicit LocalRead(int s) : LocalVar(s) { shape = SHAPE_LOCAL; }
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
class SelfName : public StoredVar {
 public:
  explicit SelfName(int i) : id(i) {}
  CVariable* Find(Ctx& c, bool create) const override {
    if (!create) return SelfFind(c, id);
    bool global = g_VariableGlobalDeclared && Variable_IsDeclaredGlobal(id);
    CVariableList* list = global ? &Variable_Globals() : ListOf(c.self, create);
    if (!list) return nullptr;
    return list->FindOrAdd(id);
  }
  int id;
};

// A plain name read and written in place when it holds a real.
class SelfVar final : public SelfName {
 public:
  explicit SelfVar(int i) : SelfName(i) { shape = SHAPE_SELF; }
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
  // A name some code declared global goes the general way too.
  [[gnu::always_inline]] void Put(Ctx& c, TokenKind op, RValue* value) const {
    if (!index1 && (value->kind == VALUE_REAL || IsStep(op)) && !g_VariableGlobalDeclared) {
      CVariableList* list = ListOf(c.self, false);
      CVariable* v = list ? list->Find(id) : nullptr;
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
    PutGeneral(c, op, value);
  }

 private:
  // Texts, indices, unknown and global names: out of line, so the usual
  // path makes no other call and needs no saved registers.
  [[gnu::noinline, gnu::cold]] void PutGeneral(Ctx& c, TokenKind op, RValue* value) const { StoredVar::Assign(c, op, value); }
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

// The instance number a target value names.
int TargetOf(Ctx& c, Node* target);

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
    CVariableList* list = ListOf(targets.list->front(), false);
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
class BuiltInVar : public VarNode {
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

// A built-in variable of self (x, y, speed): a read without indices goes
// straight to the getter, and a real assigned, added, subtracted or
// multiplied goes to the setter without building the values between.
class BuiltInSelfVar final : public BuiltInVar {
 public:
  explicit BuiltInSelfVar(const RVariableRoutine* r) : BuiltInVar(r, nullptr) { shape = SHAPE_BUILTIN_SELF; }
  double Real(Ctx& c, RValue* spill) const override {
    if (index1 || !routine->get) [[unlikely]]
      return Node::Real(c, spill);
    routine->get(c.self, 0, spill);
    return spill->val;
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    if (index1 || value->kind != VALUE_REAL) [[unlikely]]
      return BuiltInVar::Assign(c, op, value);
    Temp v;
    v.val = value->val;
    if (op != TK_ASSIGN) {
      if (!routine->get || (op != TK_PLUSASSIGN && op != TK_MINUSASSIGN && op != TK_MULASSIGN)) [[unlikely]]
        return BuiltInVar::Assign(c, op, value);
      Temp old;
      routine->get(c.self, 0, &old);
      if (old.kind != VALUE_REAL) [[unlikely]] {
        Code_BinaryOp(CompoundOp(op), old, *value, &v);  // the operator's rules for a text
      } else {
        v.val = op == TK_PLUSASSIGN    ? RealOp<TK_PLUS>(old.val, value->val)
                : op == TK_MINUSASSIGN ? RealOp<TK_MINUS>(old.val, value->val)
                                       : RealOp<TK_STAR>(old.val, value->val);
      }
    }
    routine->set(c.self, 0, &v);
  }
};

class ArgumentVar final : public VarNode {
 public:
  explicit ArgumentVar(int s) : slot(s) { shape = SHAPE_ARGUMENT; }
  int Slot(Ctx& c) const {
    if (slot >= 0) [[likely]] return slot;
    int i, j;
    Indices(c, &i, &j);
    int k = i * ARRAY_DIMENSION + j;
    if (k >= 16) Code_Fail("Argument index %d out of range.", k);
    return k;
  }
  void Eval(Ctx& c, RValue* out) const override { Value_CopyOut(out, c.frame->slot[Slot(c)]); }
  double Real(Ctx& c, RValue* spill) const override {
    const RValue& v = c.frame->slot[Slot(c)];
    if (v.kind != VALUE_REAL) Value_CopyOut(spill, v);
    return v.val;
  }
  void Assign(Ctx& c, TokenKind op, RValue* value) const override {
    int k = Slot(c);
    Store(this, &c.frame->slot[k], op, value);
    if (k >= c.frame->counts.used) c.frame->counts.used = k + 1;
  }
  int slot;  // -1: argument[index]
};

// An indexed local: a[i] or a[i, j] with a declared by var.
class LocalIndexed final : public VarNode {
 public:
  explicit LocalIndexed(int s) : slot(s) { shape = SHAPE_LOCAL_INDEXED; }
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
    if (const RValue* e = InPlace(c)) [[likely]]
      return e;
    return ReadEvaluated(c, spill);
  }
  // The element where it is stored when the one index is computed in place
  // (a[i mod 4]) as a whole number in range and the element is stored; else
  // null, and Read decides.
  [[gnu::always_inline]] const RValue* InPlace(Ctx& c) const { return computed ? ComputedElement(c) : nullptr; }
  // InPlace for a node whose index is computed; inline where that is known.
  [[gnu::always_inline]] const RValue* ComputedElement(Ctx& c) const {
    int j;
    if (!computed->AsIndex(c, &j)) [[unlikely]]
      return nullptr;
    return Variable_Element(&c.locals[slot], 0, j);
  }
  // a[e]: e is evaluated into spill, which the caller frees.
  [[gnu::noinline]] const RValue* ReadEvaluated(Ctx& c, RValue* spill) const {
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
    return v.kind == VALUE_REAL && Whole(v.val, k);
  }
  // True with the index when d is a whole number 0 .. 31999 (-0 is 0, as
  // the general way reads it).
  [[gnu::always_inline]] static bool Whole(double d, int* k) {
#if defined(__x86_64__)
    // The truncation gives INT_MIN for NaN and for reals past the int range:
    // one unsigned comparison tells the range.
    int t = _mm_cvttsd_si32(_mm_set_sd(d));
    *k = t;
    return static_cast<unsigned>(t) < static_cast<unsigned>(ARRAY_DIMENSION) && t == d;
#else
    if (!(d >= 0 && d < ARRAY_DIMENSION)) return false;
    *k = static_cast<int>(d);
    return *k == d;
#endif
  }
  int plain = 0;  // how many indices there are when all are plain locals, else 0
  const SlotConstant* computed = nullptr;  // the one index when it is a plain local OP a real constant
  int slot;
};

// A local's place in the unit's frame as a byte offset, which fast nodes
// keep so that reading the local takes one instruction.
inline size_t FrameOffset(int slot) { return static_cast<size_t>(slot) * sizeof(CVariable); }
[[gnu::always_inline]] inline CVariable& FrameAt(Ctx& c, size_t offset) {
  return *reinterpret_cast<CVariable*>(reinterpret_cast<char*>(c.locals) + offset);
}

// An indexed local whose PLAIN indices (1 or 2) are plain locals, as the
// fast reads and stores of its elements find it.
template <int PLAIN>
class PlainElement {
 public:
  explicit PlainElement(const LocalIndexed* a)
      : m_array(FrameOffset(a->slot)),
        m_first(FrameOffset(a->local1)),
        m_second(PLAIN == 2 ? FrameOffset(a->local2) : 0) {}
  // The indices (a[j] is a[0, j]) when they hold whole numbers 0 .. 31999,
  // else false.
  [[gnu::always_inline]] bool Indices(Ctx& c, int* i, int* j) const {
    const RValue& first = FrameAt(c, m_first).value;
    if constexpr (PLAIN == 1) {
      *i = 0;
      return LocalIndexed::WholeIndex(first, j);
    } else {
      const RValue& second = FrameAt(c, m_second).value;
      return (first.kind | second.kind) == VALUE_REAL && LocalIndexed::Whole(first.val, i) &&
             LocalIndexed::Whole(second.val, j);
    }
  }
  [[gnu::always_inline]] CVariable* Array(Ctx& c) const { return &FrameAt(c, m_array); }

 private:
  size_t m_array, m_first, m_second;
};
}  // namespace tree
