#include "Code/Tree/Tree_Calls.h"

namespace tree {
RValue g_keptArguments[kKeptArgumentDepth][MAX_ARGUMENTS];
int g_argumentDepth = 0;

namespace {
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
}  // namespace

const Node* StringCallArgument(const Node* n) {
  const BuiltInCallBase* call = BuiltInCall(n, "string", 1);
  return call ? call->args[0] : nullptr;
}

const BuiltInCallBase* CharAtCall(const Node* n) { return BuiltInCall(n, "string_char_at", 2); }
}  // namespace tree
