#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DS_Test.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Data_Structures_Grid.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Priority.h"
#include "Support/Support_Data_Structures_Sequence.h"

namespace {
// Values of every shape a structure may hold: reals, texts, the empty text,
// a marked real and a string whose real is not 0.
std::vector<Val> Mixed() {
  std::vector<Val> v;
  v.emplace_back(1.0);
  v.emplace_back("ab");
  v.emplace_back(-0.1);
  v.emplace_back("");
  v.emplace_back(KIND_MARK_MAP, 7.0);
  v.emplace_back("h\xC3\xA9");
  v.emplace_back("text");
  v.back().v.val = 2.5;
  return v;
}

// Every proper prefix of a text, and the text with its last digit changed
// to a non-digit, must leave the structure's own text as it was.
template <class T>
void ExpectPrefixesRejected(T& target, const std::string& text) {
  std::string before = Take(target.WriteToString());
  for (size_t n = 0; n < text.size(); ++n) {
    std::string cut = text.substr(0, n);
    if (n == 0 || n % 2 == 1) continue;  // an odd cut decodes to the same bytes as n - 1
    EXPECT_FALSE(target.ReadFromString(cut.c_str())) << cut;
    ASSERT_EQ(Take(target.WriteToString()), before) << cut;
  }
}
}  // namespace

TEST(DS_Text, StreamFormsAreTheFixedTexts) {
  CDS_Stack s;
  EXPECT_EQ(Take(s.WriteToString()), "6500000000000000");
  s.Push(&Val(1.0));
  s.Push(&Val("ab"));
  EXPECT_EQ(Take(s.WriteToString()),
            "650000000200000000000000000000000000F03F00000000010000000000000000000000020000006162");
  CDS_List l;
  l.Add(&Val(1.0));
  EXPECT_EQ(Take(l.WriteToString()), "2D0100000100000000000000000000000000F03F00000000");
  CDS_Grid g(1, 1);
  EXPECT_EQ(Take(g.WriteToString()), "59020000010000000100000000000000000000000000000000000000");
  CDS_Priority p;
  p.Add(&Val("v"), &Val(2.0));
  EXPECT_EQ(Take(p.WriteToString()),
            "F5010000010000000000000000000000000000400000000001000000000000000000000001000000" "76");
}

TEST(DS_Text, QueueKeepsHeadTailAndCapacity) {
  CDS_Queue q;
  for (double d : {1.0, 2.0, 3.0}) q.Enqueue(&Val(d));
  q.Dequeue();
  std::string text = Take(q.WriteToString());
  EXPECT_EQ(text.substr(0, 32), "C9000000030000000100000010000000");
  EXPECT_EQ(text.size(), 32u + 16 * 32);
  CDS_Queue back;
  ASSERT_TRUE(back.ReadFromString(text.c_str()));
  EXPECT_EQ(back.HeadIndex(), 1);
  EXPECT_EQ(back.TailIndex(), 3);
  EXPECT_EQ(back.Capacity(), 16);
  EXPECT_EQ(Describe(back.Head()), "2");
  EXPECT_EQ(Take(back.WriteToString()), text);
}

TEST(DS_Text, MapFormIsTypedHexEntries) {
  CDS_Map m;
  EXPECT_EQ(Take(m.WriteToString()), "");
  m.Add(&Val("a"), &Val(1.0));
  EXPECT_EQ(Take(m.WriteToString()), "1:61:3FF0");
  m.Add(&Val(2.0), &Val("ab"));
  EXPECT_EQ(Take(m.WriteToString()), "2:40:6162,1:61:3FF0");

  // Reals give their bytes from the top down, without the zero bytes below.
  const std::pair<double, const char*> reals[] = {{0.0, ""},      {1.0, "3FF0"}, {2.0, "40"},
                                                  {0.5, "3FE0"},  {100.0, "4059"},
                                                  {0.1, "3FB999999999999A"}, {-0.0, "80"}};
  for (auto& [real, digits] : reals) {
    CDS_Map one;
    one.Add(&Val(real), &Val(real));
    EXPECT_EQ(Take(one.WriteToString()), std::string("0:") + digits + ":" + digits);
  }
  CDS_Map empty;
  empty.Add(&Val(""), &Val(""));
  EXPECT_EQ(Take(empty.WriteToString()), "3::");
  ASSERT_TRUE(empty.ReadFromString("3::"));
  EXPECT_EQ(Describe(empty.FindFirst() ? &Val(empty.FindFirst()->valueStr) : nullptr), "\"\"");
}

TEST(DS_Text, MapReadGivesRepeatedKeysTwoEntries) {
  CDS_Map m;
  m.Add(&Val("x"), &Val(5.0));
  ASSERT_TRUE(m.ReadFromString("1:61:3FF0,1:61:40"));
  EXPECT_EQ(m.Size(), 2);
  EXPECT_FALSE(m.Exists(&Val("x")));
  RValue v;
  m.FindEntry(&Val("a"))->GetValue(&v);
  EXPECT_EQ(v.val, 1.0);
  m.Delete(&Val("a"));
  m.FindEntry(&Val("a"))->GetValue(&v);
  EXPECT_EQ(v.val, 2.0);
  EXPECT_EQ(Take(m.WriteToString()), "1:61:40");
  ASSERT_TRUE(m.ReadFromString(""));
  EXPECT_TRUE(m.Empty());
  ASSERT_TRUE(m.ReadFromString(nullptr));
}

TEST(DS_Text, EveryStructureRoundTripsMixedValues) {
  std::vector<Val> values = Mixed();
  CDS_Stack s, s2;
  CDS_Queue q, q2;
  CDS_List l, l2;
  CDS_Priority p, p2;
  CDS_Map m, m2;
  CDS_Grid g(3, 3), g2(1, 1);
  int i = 0;
  for (Val& v : values) {
    s.Push(&v);
    q.Enqueue(&v);
    l.Add(&v);
    p.Add(&v, &values[values.size() - 1 - i]);
    m.Add(&Val(double(i)), &v);
    m.Add(&values[i], &Val(double(i)));
    g.CellOp(DS_OP_SET, i % 3, i / 3, &v);
    ++i;
  }
  q.Dequeue();
  auto roundTrip = [](auto& from, auto& to) {
    std::string text = Take(from.WriteToString());
    ASSERT_TRUE(to.ReadFromString(text.c_str()));
    EXPECT_EQ(Take(to.WriteToString()), text);
  };
  roundTrip(s, s2);
  roundTrip(q, q2);
  roundTrip(l, l2);
  roundTrip(p, p2);
  roundTrip(m, m2);
  roundTrip(g, g2);
  EXPECT_EQ(g2.Width(), 3);
  EXPECT_EQ(Describe(g2.Get(2, 1)), "\"h\xC3\xA9\"");
  EXPECT_EQ(g2.Get(1, 1)->kind, KIND_MARK_MAP);
  EXPECT_EQ(g2.Get(0, 1)->kind, VALUE_STRING);  // the written empty text reads back as a string
  EXPECT_EQ(l2.FindIndex(&Val("")), 3);
  EXPECT_EQ(l2.FindValue(4)->kind, KIND_MARK_MAP);
  EXPECT_EQ(l2.FindValue(6)->val, 2.5);
  EXPECT_EQ(m2.Size(), m.Size());
}

TEST(DS_Text, AWrongHeaderChangesNothing) {
  CDS_List l;
  l.Add(&Val(1.0));
  std::string listText = Take(l.WriteToString());
  CDS_Stack s;
  s.Push(&Val("keep"));
  EXPECT_FALSE(s.ReadFromString(listText.c_str()));
  EXPECT_EQ(Describe(s.Top()), "\"keep\"");
  EXPECT_FALSE(s.ReadFromString(""));
  EXPECT_FALSE(s.ReadFromString(nullptr));
  EXPECT_FALSE(s.ReadFromString("650000"));
  EXPECT_EQ(s.Size(), 1);
  // The empty stack's text empties it.
  EXPECT_TRUE(s.ReadFromString("6500000000000000"));
  EXPECT_TRUE(s.Empty());
}

TEST(DS_Text, TruncatedOrMalformedStreamsLeaveTheStructureUnchanged) {
  std::vector<Val> values = Mixed();
  CDS_Stack s;
  CDS_Queue q;
  CDS_List l;
  CDS_Priority p;
  CDS_Grid g(2, 2);
  for (Val& v : values) {
    s.Push(&v);
    q.Enqueue(&v);
    l.Add(&v);
    p.Add(&v, &v);
  }
  g.CellOp(DS_OP_SET, 1, 1, &values[1]);
  std::string st = Take(s.WriteToString()), qt = Take(q.WriteToString()), lt = Take(l.WriteToString()),
              pt = Take(p.WriteToString()), gt = Take(g.WriteToString());
  CDS_Stack s2;
  s2.Push(&Val("mine"));
  CDS_Queue q2;
  q2.Enqueue(&Val("mine"));
  CDS_List l2;
  l2.Add(&Val("mine"));
  CDS_Priority p2;
  p2.Add(&Val("mine"), &Val(1.0));
  CDS_Grid g2(1, 2);
  ExpectPrefixesRejected(s2, st);
  ExpectPrefixesRejected(q2, qt);
  ExpectPrefixesRejected(l2, lt);
  ExpectPrefixesRejected(p2, pt);
  ExpectPrefixesRejected(g2, gt);

  std::string keep = Take(q2.WriteToString());
  // Counts that claim more than the text holds, or less than nothing.
  EXPECT_FALSE(s2.ReadFromString("65000000FFFFFF7F"));
  EXPECT_FALSE(s2.ReadFromString("65000000FFFFFFFF"));
  EXPECT_FALSE(g2.ReadFromString("5902000000000100000001000000"));
  EXPECT_FALSE(g2.ReadFromString("59020000FFFFFFFFFFFFFFFF"));
  EXPECT_FALSE(p2.ReadFromString("F501000001000000" "0000000000000000000000000000000000000000"));
  // A string length running past the end.
  EXPECT_FALSE(l2.ReadFromString("2D010000010000000100000000000000000000000500000061"));
  // A queue must have 0 <= head <= tail <= capacity.
  EXPECT_FALSE(q2.ReadFromString("C9000000010000000200000002000000"
                                 "00000000000000000000000000000000" "00000000000000000000000000000000"));
  EXPECT_FALSE(q2.ReadFromString("C9000000030000000000000002000000"
                                 "00000000000000000000000000000000" "00000000000000000000000000000000"));
  EXPECT_FALSE(q2.ReadFromString("C900000001000000FFFFFFFF02000000"
                                 "00000000000000000000000000000000" "00000000000000000000000000000000"));
  EXPECT_TRUE(q2.ReadFromString("C9000000020000000100000002000000"
                                "00000000000000000000000000000000" "00000000000000000000000000000000"));
  EXPECT_EQ(q2.Size(), 1);
  EXPECT_TRUE(q2.ReadFromString(keep.c_str()));
  EXPECT_EQ(Describe(q2.Head()), "\"mine\"");
  EXPECT_EQ(Describe(l2.FindValue(0)), "\"mine\"");
  EXPECT_EQ(g2.Height(), 2);
}

TEST(DS_Text, MalformedMapTextsLeaveTheMapUnchanged) {
  CDS_Map m;
  m.Add(&Val("k"), &Val(1.0));
  const char* bad[] = {
      "1",          "1:",          "1:61",        "1:61,3FF0",         "1:6:3FF0",  "1:61:3FF",
      "1:61:3ff0",  "4:61:3FF0",   "x:61:3FF0",   "1:61:3FF0,",        "1:61:3FF0,,",
      "0:3FF0000000000000000:00",  "1:61:3FF0:12", "1:61:3FF0,1",        "3:61:6",   "0:1G:",
  };
  for (const char* text : bad) {
    EXPECT_FALSE(m.ReadFromString(text)) << text;
    EXPECT_EQ(Take(m.WriteToString()), "1:6B:3FF0") << text;
  }
}
