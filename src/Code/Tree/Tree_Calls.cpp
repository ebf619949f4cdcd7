#include "Code/Tree/Tree_Calls.h"

namespace tree {
RValue g_keptArguments[kKeptArgumentDepth][MAX_ARGUMENTS];
int g_argumentDepth = 0;

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
}  // namespace tree
