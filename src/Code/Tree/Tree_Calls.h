// Calls of built-ins (and of extension functions).
#pragma once
#include "Code/Tree/Tree_Values.h"

namespace tree {
// A built-in's arguments. Built-ins read missing arguments as 0 and never
// write into their arguments, so arrays are kept cleared between calls, one
// per depth of nested calls: a call fills its entries and clears them again
// (freeing the texts it owns); only calls nested deeper than the kept arrays
// clear one of their own.
constexpr int kKeptArgumentDepth = 64;
extern RValue g_keptArguments[kKeptArgumentDepth][MAX_ARGUMENTS];
extern int g_argumentDepth;

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

// A call of a built-in (or of an extension function). How its arguments
// are made is settled by the factory: a plain local's text may be lent, and
// one text joined with string(x) made in a buffer of the call's.
class BuiltInCallBase : public CallBase {
 public:
  BuiltInCallBase(int i, const std::vector<Node*>& a) : CallBase(a), id(i) {
    shape = SHAPE_BUILTIN_CALL;
    for (int& k : local) k = -1;
    // A built-in's entry never changes once added: its handler is called directly.
    const RFunction* f = id < FUNCTION_ID_SCRIPT ? Function_Get(id) : nullptr;
    routine = f ? f->routine : nullptr;
  }
  int id;
  TRoutine routine;
  unsigned lent = 0;         // the arguments that are plain locals
  int local[MAX_ARGUMENTS];  // the plain local an argument is, else -1
  const TextJoinBase* join = nullptr;  // the argument joining string(x) to a text, else null
  int joinArgument = -1;
};

inline RValue CallArgument(const BuiltInCallBase* call, Ctx& c, int k, Temp* t) {
  if (call->local[k] >= 0) return c.locals[call->local[k]].value;
  call->args[k]->Eval(c, t);
  return *t;
}

// The room a call has for a text it joins itself.
constexpr size_t kJoinedLength = 48;

// COUNT is the number of arguments when it is small, so that their loops
// unroll; -1 for any number.
template <int COUNT>
class CallNode final : public BuiltInCallBase {
 public:
  using BuiltInCallBase::BuiltInCallBase;
  void Eval(Ctx& c, RValue* out) const override {
    const int n = COUNT >= 0 ? COUNT : argc;
    RValue own[MAX_ARGUMENTS];
    char joined[kJoinedLength];
    size_t length;
    Arguments a(n, lent, own);
    for (int k = 0; k < n; ++k) {
      // A built-in reads its arguments and no code it runs can reach the
      // caller's locals: a local's text is lent, not copied. So is a short
      // text joined with string(x) (a map key "k" + string(i)), made here.
      if (local[k] >= 0) a.v[k] = c.locals[local[k]].value;
      else if (k != joinArgument) args[k]->Eval(c, &a.v[k]);
      else if (join->JoinStringInto(c, joined, sizeof joined, &a.v[k], &length)) a.lent |= 1u << k;
    }
    if (routine) routine(*out, c.self, c.other, n, a.v);
    else Code_Dispatch(id, c, n, a.v, out);
  }
};

// A call of a built-in with a text-key form (a map's lookups and stores) of
// COUNT arguments whose argument 1 joins a text constant with string(x), the
// map key "k" + string(i): the key is made in the call's buffer and handed
// over with its length, so the map does not measure it again. The built-in
// takes exactly COUNT arguments, so they need no kept array of cleared ones.
// LEFT is the join's side of the constant, so that it is made inline.
template <int COUNT, bool LEFT>
class TextKeyCallNode final : public BuiltInCallBase {
 public:
  TextKeyCallNode(int i, const std::vector<Node*>& a) : BuiltInCallBase(i, a) {
    textKey = Function_Get(id)->textKey;
    keyJoin = static_cast<const TextJoinNode<LEFT>*>(args[1]);
  }
  void Eval(Ctx& c, RValue* out) const override {
    RValue v[COUNT];
    Owned owned{v};
    char joined[kJoinedLength];
    size_t length;
    Take(c, 0, v, owned);
    v[1] = RValue{VALUE_REAL, nullptr, 0.0};
    owned.mask |= 2;
    if (keyJoin->JoinStringInto(c, joined, sizeof joined, &v[1], &length)) owned.mask &= ~2u;
    else length = std::strlen(v[1].str);  // too long for the buffer: a text of its own
    if constexpr (COUNT == 3) Take(c, 2, v, owned);
    textKey(*out, v, RValue_Text(v[1]), length);
  }

 private:
  static_assert(COUNT == 2 || COUNT == 3, "a map key's call takes the map, the key and at most a value");

  // The texts of the arguments made here, freed on every way out.
  struct Owned {
    RValue* v;
    unsigned mask = 0;
    ~Owned() {
      if (mask) Free();
    }
    [[gnu::noinline]] void Free() {
      for (int k = 0; k < COUNT; ++k)
        if (mask >> k & 1 && v[k].str) MEM_FREE(v[k].str);
    }
  };

  // Argument k: a plain local's value lent as it stands, anything else made
  // into v[k] and owned.
  void Take(Ctx& c, int k, RValue* v, Owned& owned) const {
    if (local[k] >= 0) {
      v[k] = c.locals[local[k]].value;
      return;
    }
    v[k] = RValue{VALUE_REAL, nullptr, 0.0};
    owned.mask |= 1u << k;
    args[k]->Eval(c, &v[k]);
  }

  TTextKeyRoutine textKey;
  const TextJoinNode<LEFT>* keyJoin;
};
}  // namespace tree
