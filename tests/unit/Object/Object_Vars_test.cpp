#include <gtest/gtest.h>

#include "Object/Instance_Vars.h"
#include "Run_TestWorld.h"
#include "Support/Support_Stream.h"
#include "Variable/Variable_List.h"

using namespace testworld;

namespace {
RValue Text(const char* t) {
  RValue v = {VALUE_REAL, nullptr, 0};
  RValue_SetString(&v, t);
  return v;
}

// A list with a text, a real carrying a nesting mark and a 2D array.
void Fill(CVariableList& list) {
  RValue t = Text("hello");
  RValue_Copy(&list.FindOrAdd(100001)->value, &t);
  RValue_Free(&t);
  CVariable* marked = list.FindOrAdd(100002);
  marked->value = {VALUE_REAL | KIND_MARK_MAP, nullptr, 3};
  CVariable* array = list.FindOrAdd(100003);
  RValue_SetReal(Variable_ElementGrow(array, 2, 5), 25);
  RValue word = Text("deep");
  RValue_Copy(Variable_ElementGrow(array, 0, 4), &word);
  RValue_Free(&word);
}

void ExpectFilled(CVariableList& list) {
  ASSERT_EQ(list.Count(), 3);
  EXPECT_STREQ(RValue_Text(list.Find(100001)->value), "hello");
  EXPECT_EQ(list.Find(100002)->value.kind, VALUE_REAL | KIND_MARK_MAP);
  EXPECT_EQ(list.Find(100002)->value.val, 3);
  CVariable* array = list.Find(100003);
  ASSERT_NE(Variable_Element(array, 2, 5), nullptr);
  EXPECT_EQ(Variable_Element(array, 2, 5)->val, 25);
  EXPECT_STREQ(RValue_Text(*Variable_Element(array, 0, 4)), "deep");
}

TEST(ObjectVars, AssignCopiesVariablesDeeply) {
  Reset();
  int a = Object_Add("a");
  int b = Object_Add("b");
  CInstance src(1, 2, 100001, a), dst(0, 0, 100002, b);
  src.vars = new CVariableList;
  Fill(*src.vars);
  dst.Assign(&src);
  EXPECT_EQ(dst.id, 100002);
  EXPECT_EQ(dst.x, 1);
  EXPECT_EQ(Object_Find(a)->instances.size(), 2u);
  EXPECT_TRUE(Object_Find(b)->instances.empty());
  ExpectFilled(*dst.vars);
  // Changing or freeing the source leaves the copy alone.
  EXPECT_NE(dst.vars->Find(100001)->value.str, src.vars->Find(100001)->value.str);
  src.vars->Clear();
  ExpectFilled(*dst.vars);
  Reset();
}

TEST(ObjectVars, ListsSurviveTheSaveFormAndBrokenFormsFail) {
  CVariableList list;
  Fill(list);
  CStream s;
  VarList_Write(s, &list);
  int64_t size = s.GetPosition();
  s.SetPosition(0);
  CVariableList back;
  ASSERT_TRUE(VarList_Read(s, &back));
  ExpectFilled(back);

  // A count larger than the bytes left, and a row count beyond the array limit.
  CStream bad;
  bad.WriteInteger(1000000);
  bad.SetPosition(0);
  CVariableList none;
  EXPECT_FALSE(VarList_Read(bad, &none));
  CStream rows;
  rows.WriteInteger(1);
  rows.WriteInteger(100001);
  rows.WriteInteger(40000);
  for (int i = 0; i < 100; i++) rows.WriteInteger(0);
  rows.SetPosition(0);
  EXPECT_FALSE(VarList_Read(rows, &none));
  EXPECT_GT(size, 0);
}

TEST(ObjectVars, TimeLinesRunTheMomentsPassedOver) {
  Reset();
  int a = Object_Add("a");
  int tl = TimeLine_Create("tl");
  for (int step : {0, 2, 3}) {
    CEvent* ev = TimeLine_Data(tl)->AddMoment(step);
    ev->code = Code([step](CInstance*, CInstance*) { Log().push_back("moment " + std::to_string(step)); });
  }
  AddRoom({{a, {0, 0}}});
  ASSERT_TRUE(StartGame());
  CInstance* inst = g_RunRoom->active[0];
  inst->timeline_index = tl;
  inst->timeline_running = true;
  inst->timeline_speed = 2;
  inst->timeline_loop = true;
  TimeLine_Step(inst);  // 0 .. 2
  TimeLine_Step(inst);  // 2 .. 4, past the last moment: back to 0
  EXPECT_EQ(inst->timeline_position, 0);
  TimeLine_Data(tl)->ClearMoment(0);
  TimeLine_Step(inst);
  std::vector<std::string> want = {"moment 0", "moment 2", "moment 3"};
  EXPECT_EQ(Log(), want);
  Reset();
}
}  // namespace
