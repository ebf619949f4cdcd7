#include <string>

#include <gtest/gtest.h>

#include "DS_Test.h"
#include "Function/Function_Data_Structures.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Sequence.h"

TEST(DS_Builtins, AllHundredAndTenAreRegistered) {
  DS_EnsureRegistered();
  int count = 0;
  for (int i = 0; i < Function_Count(); ++i)
    if (std::string(Function_Get(i)->name).rfind("ds_", 0) == 0) ++count;
  EXPECT_EQ(count, 110);
}

TEST(DS_Builtins, NewStructuresTakeTheLowestFreeIndex) {
  EXPECT_EQ(DS_Real("ds_list_create", {}), 0.0);
  EXPECT_EQ(DS_Real("ds_list_create", {}), 1.0);
  EXPECT_EQ(DS_Real("ds_list_create", {}), 2.0);
  // A stack is a different table: index 0 again, a different structure.
  EXPECT_EQ(DS_Real("ds_stack_create", {}), 0.0);
  DS_Call("ds_stack_push", {0.0, "on the stack"});
  EXPECT_EQ(DS_Real("ds_list_size", {0.0}), 0.0);
  DS_Call("ds_list_destroy", {1.0});
  EXPECT_EQ(DS_Real("ds_list_create", {}), 1.0);
  EXPECT_EQ(DS_Real("ds_list_create", {}), 3.0);
  for (double i : {0.0, 1.0, 2.0, 3.0}) DS_Call("ds_list_destroy", {i});
  DS_Call("ds_stack_destroy", {0.0});
  EXPECT_FALSE(DS_TookIndexError());
  DS_Call("ds_stack_destroy", {0.0});
  EXPECT_TRUE(DS_TookIndexError());
}

TEST(DS_Builtins, IndicesRoundHalvesToEvenExceptFindIndex) {
  for (int i = 0; i < 3; ++i) {
    double l = DS_Real("ds_list_create", {});
    for (int k = 0; k <= i; ++k) DS_Call("ds_list_add", {l, double(k)});
  }
  EXPECT_EQ(DS_Real("ds_list_size", {1.6}), 3.0);
  EXPECT_EQ(DS_Real("ds_list_size", {0.5}), 1.0);
  EXPECT_EQ(DS_Real("ds_list_size", {2.5}), 3.0);
  EXPECT_EQ(DS_Real("ds_list_find_index", {1.6, 1.0}), 1.0);  // list 1 holds 0, 1
  EXPECT_EQ(DS_Real("ds_list_find_index", {0.9, 1.0}), -1.0);  // list 0 holds 0
  EXPECT_EQ(DS_Real("ds_list_find_value", {2.0, 2.4}), 2.0);
  EXPECT_EQ(DS_Real("ds_list_find_value", {2.0, 7.0}), 0.0);
  EXPECT_FALSE(DS_TookIndexError());
  EXPECT_EQ(DS_Real("ds_list_size", {-0.4}), 1.0);
  EXPECT_EQ(DS_Real("ds_list_size", {-0.6}), 0.0);
  EXPECT_TRUE(DS_TookIndexError());
  for (double i : {0.0, 1.0, 2.0}) DS_Call("ds_list_destroy", {i});
}

TEST(DS_Builtins, ValuesComeOutAsCopies) {
  double s = DS_Real("ds_stack_create", {});
  EXPECT_EQ(DS_Real("ds_stack_pop", {s}), 0.0);
  EXPECT_FALSE(DS_TookIndexError());
  DS_Call("ds_stack_push", {s, "a"});
  DS_Call("ds_stack_push", {s, 2.0});
  EXPECT_EQ(DS_Real("ds_stack_top", {s}), 2.0);
  EXPECT_EQ(DS_Real("ds_stack_pop", {s}), 2.0);
  EXPECT_EQ(DS_Text("ds_stack_pop", {s}), "a");
  EXPECT_EQ(DS_Real("ds_stack_empty", {s}), 1.0);

  double q = DS_Real("ds_queue_create", {});
  DS_Call("ds_queue_enqueue", {q, "first"});
  DS_Call("ds_queue_enqueue", {q, 2.0});
  EXPECT_EQ(DS_Text("ds_queue_head", {q}), "first");
  EXPECT_EQ(DS_Real("ds_queue_tail", {q}), 2.0);
  EXPECT_EQ(DS_Text("ds_queue_dequeue", {q}), "first");
  EXPECT_EQ(DS_Real("ds_queue_size", {q}), 1.0);

  // A nested list's mark stays on a list value; a map gives a plain real.
  double l = DS_Real("ds_list_create", {});
  CDS_List* list = DS_List_Get(int(l));
  ASSERT_NE(list, nullptr);
  list->Add(&Val(KIND_MARK_LIST, 4.0));
  EXPECT_EQ(DS_Call("ds_list_find_value", {l, 0.0}).v.kind, KIND_MARK_LIST);
  int m = DS_Map_Create();
  DS_Map_Get(m)->Add(&Val("child"), &Val(KIND_MARK_MAP, 5.0));
  Val found = DS_Call("ds_map_find_value", {double(m), "child"});
  EXPECT_EQ(found.v.kind, VALUE_REAL);
  EXPECT_EQ(found.v.val, 5.0);
  EXPECT_EQ(DS_Real("ds_map_find_value", {double(m), "none"}), 0.0);

  DS_Call("ds_stack_destroy", {s});
  DS_Call("ds_queue_destroy", {q});
  DS_Call("ds_list_destroy", {l});
  DS_Map_Destroy(m);
  EXPECT_FALSE(DS_TookIndexError());
}

TEST(DS_Builtins, MapsThroughTheirBuiltIns) {
  double m = DS_Real("ds_map_create", {});
  EXPECT_EQ(DS_Real("ds_map_add", {m, "a", 1.0}), 1.0);
  EXPECT_EQ(DS_Real("ds_map_add", {m, "a", 2.0}), 0.0);
  EXPECT_EQ(DS_Real("ds_map_replace", {m, 2.0, "ab"}), 0.0);
  EXPECT_EQ(DS_Real("ds_map_replace", {m, 2.0, "ab"}), 1.0);
  EXPECT_EQ(DS_Text("ds_map_write", {m}), "2:40:6162,1:61:3FF0");
  EXPECT_EQ(DS_Real("ds_map_find_first", {m}), 2.0);
  EXPECT_EQ(DS_Text("ds_map_find_next", {m, 2.0}), "a");
  EXPECT_EQ(DS_Text("ds_map_find_last", {m}), "a");
  EXPECT_EQ(DS_Real("ds_map_find_previous", {m, 2.0}), 0.0);
  EXPECT_EQ(DS_Real("ds_map_exists", {m, "a"}), 1.0);
  DS_Call("ds_map_delete", {m, "a"});
  EXPECT_EQ(DS_Real("ds_map_size", {m}), 1.0);
  double other = DS_Real("ds_map_create", {});
  DS_Call("ds_map_copy", {other, m});
  DS_Call("ds_map_copy", {m, m});
  EXPECT_EQ(DS_Text("ds_map_write", {other}), "2:40:6162");
  EXPECT_EQ(DS_Text("ds_map_write", {m}), "2:40:6162");
  DS_Call("ds_map_read", {other, "1:61:3FF0"});
  EXPECT_EQ(DS_Real("ds_map_find_value", {other, "a"}), 1.0);
  DS_Call("ds_map_read", {other, 3.0});  // not a text: the empty text
  EXPECT_EQ(DS_Real("ds_map_empty", {other}), 1.0);
  DS_Call("ds_map_destroy", {m});
  EXPECT_FALSE(DS_TookIndexError());
  // A destroyed map: the error, and 0.
  EXPECT_EQ(DS_Real("ds_map_add", {m, "x", 1.0}), 0.0);
  EXPECT_TRUE(DS_TookIndexError());
  DS_Call("ds_map_destroy", {other});
}

TEST(DS_Builtins, CopiesCheckBothIndicesAndReadsIgnoreBadTexts) {
  double s = DS_Real("ds_stack_create", {});
  DS_Call("ds_stack_push", {s, 1.0});
  DS_Call("ds_stack_copy", {s, 5.0});
  EXPECT_TRUE(DS_TookIndexError());
  EXPECT_EQ(DS_Real("ds_stack_size", {s}), 1.0);
  std::string text = DS_Text("ds_stack_write", {s});
  DS_Call("ds_stack_read", {s, "2D01000000000000"});
  DS_Call("ds_stack_read", {s, 1.0});
  EXPECT_FALSE(DS_TookIndexError());
  EXPECT_EQ(DS_Text("ds_stack_write", {s}), text);
  DS_Call("ds_stack_read", {s, "6500000000000000"});
  EXPECT_EQ(DS_Real("ds_stack_size", {s}), 0.0);
  DS_Call("ds_stack_destroy", {s});
}

TEST(DS_Builtins, ListSortsAndPriorities) {
  double l = DS_Real("ds_list_create", {});
  for (double d : {2.0, 3.0, 1.0}) DS_Call("ds_list_add", {l, d});
  DS_Call("ds_list_sort", {l, 0.4});
  EXPECT_EQ(DS_Real("ds_list_find_value", {l, 0.0}), 3.0);
  DS_Call("ds_list_sort", {l, 0.5});
  EXPECT_EQ(DS_Real("ds_list_find_value", {l, 0.0}), 1.0);
  DS_Call("ds_list_insert", {l, 3.0, "end"});
  DS_Call("ds_list_replace", {l, 0.0, "start"});
  DS_Call("ds_list_delete", {l, 1.0});
  EXPECT_EQ(DS_Text("ds_list_find_value", {l, 2.0}), "end");
  DS_Call("ds_list_destroy", {l});

  double p = DS_Real("ds_priority_create", {});
  DS_Call("ds_priority_add", {p, "low", 1.0});
  DS_Call("ds_priority_add", {p, "high", 9.0});
  EXPECT_EQ(DS_Text("ds_priority_find_max", {p}), "high");
  EXPECT_EQ(DS_Text("ds_priority_delete_min", {p}), "low");
  EXPECT_EQ(DS_Text("ds_priority_delete_max", {p}), "high");
  EXPECT_EQ(DS_Real("ds_priority_delete_max", {p}), 0.0);
  DS_Call("ds_priority_destroy", {p});
}

TEST(DS_Builtins, GridsThroughTheirBuiltIns) {
  double g = DS_Real("ds_grid_create", {3.0, 2.0});
  EXPECT_EQ(DS_Real("ds_grid_width", {g}), 3.0);
  DS_Call("ds_grid_set_region", {g, 0.0, 0.0, 2.0, 1.0, 2.0});
  DS_Call("ds_grid_add_disk", {g, 1.0, 1.0, 1.0, 1.0});
  DS_Call("ds_grid_multiply", {g, 2.0, 0.0, 10.0});
  EXPECT_EQ(DS_Real("ds_grid_get", {g, 2.0, 0.0}), 20.0);
  EXPECT_EQ(DS_Real("ds_grid_get_sum", {g, 0.0, 0.0, 2.0, 1.0}), 2 + 3 + 20 + 3 + 3 + 3.0);
  EXPECT_EQ(DS_Real("ds_grid_get_disk_max", {g, 1.0, 1.0, 1.0}), 3.0);
  EXPECT_EQ(DS_Real("ds_grid_value_x", {g, 0.0, 0.0, 2.0, 1.0, 20.0}), 2.0);
  EXPECT_EQ(DS_Real("ds_grid_value_disk_exists", {g, 0.0, 0.0, 0.5, 2.0}), 1.0);
  double h = DS_Real("ds_grid_create", {-2.0, 4.0});
  EXPECT_EQ(DS_Real("ds_grid_width", {h}), 0.0);
  DS_Call("ds_grid_resize", {h, 2.0, 2.0});
  DS_Call("ds_grid_set_grid_region", {h, g, 1.0, 0.0, 2.0, 1.0, 0.0, 0.0});
  EXPECT_EQ(DS_Real("ds_grid_get", {h, 1.0, 0.0}), 20.0);
  DS_Call("ds_grid_read", {h, DS_Text("ds_grid_write", {g}).c_str()});
  EXPECT_EQ(DS_Real("ds_grid_height", {h}), 2.0);
  DS_Call("ds_grid_destroy", {h});
  EXPECT_EQ(DS_Real("ds_grid_height", {h}), 0.0);
  EXPECT_TRUE(DS_TookIndexError());
  DS_Call("ds_grid_destroy", {g});
}

TEST(DS_Builtins, EventMapsAreFreedOnlyWhileTheirIndexHoldsThem) {
  DS_MapPair pairs[] = {{"filename", 0, "a.png"}, {"id", 7, nullptr}, {"status", 0, nullptr}, {"id", 9, nullptr}};
  int m = DS_Map_CreateFromPairs(4, pairs);
  EXPECT_EQ(DS_Text("ds_map_find_value", {double(m), "filename"}), "a.png");
  EXPECT_EQ(DS_Real("ds_map_find_value", {double(m), "id"}), 7.0);  // the first value of a key stays
  EXPECT_EQ(DS_Real("ds_map_size", {double(m)}), 3.0);
  DS_MapHold hold = DS_Map_Hold(m);
  DS_Map_FreeHeld(hold);
  EXPECT_EQ(DS_Map_Get(m), nullptr);

  // The event's code destroys its map and makes another in the same slot:
  // the step must leave the new one alone.
  m = DS_Map_CreateFromPairs(1, pairs);
  hold = DS_Map_Hold(m);
  DS_Call("ds_map_destroy", {double(m)});
  int mine = DS_Map_Create();
  EXPECT_EQ(mine, m);
  DS_Map_FreeHeld(hold);
  EXPECT_NE(DS_Map_Get(mine), nullptr);
  DS_Map_AddReal(mine, "k", 1.0);
  DS_Map_AddString(mine, "t", "text");
  EXPECT_EQ(DS_Text("ds_map_find_value", {double(mine), "t"}), "text");
  DS_Map_Destroy(mine);
  DS_Map_AddReal(mine, "k", 1.0);
  EXPECT_TRUE(DS_TookIndexError());

  int l = DS_List_Create();
  DS_List_AddReal(l, 1.0);
  DS_List_AddString(l, "two");
  EXPECT_EQ(DS_Text("ds_list_find_value", {double(l), 1.0}), "two");
  DS_List_Destroy(l);
  DS_List_AddReal(l, 1.0);
  EXPECT_TRUE(DS_TookIndexError());
}

// The end of the run destroys every structure the game left behind.
TEST(DS_Builtins, TheEndOfTheRunDestroysEveryStructure) {
  int map = static_cast<int>(DS_Real("ds_map_create", {}));
  int list = static_cast<int>(DS_Real("ds_list_create", {}));
  DS_Real("ds_grid_create", {2.0, 2.0});
  DS_Real("ds_stack_create", {});
  DS_FreeAll();
  EXPECT_EQ(DS_Map_Get(map), nullptr);
  EXPECT_EQ(DS_List_Get(list), nullptr);
  EXPECT_EQ(DS_Real("ds_grid_create", {2.0, 2.0}), 0.0);  // every index is free again
  EXPECT_EQ(DS_Real("ds_stack_create", {}), 0.0);
  DS_FreeAll();
}
