// The JSON decoder's structures and marks, and the encoder's text.
#include <gtest/gtest.h>

#include <string>

#include "Function/Function_Data_Structures.h"
#include "Function/Function_Json.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Sequence.h"

namespace {
RValue Text(const char* s) { return {VALUE_STRING, const_cast<char*>(s), 0.0}; }

// The value stored under a key, with its kind word as stored.
RValue Stored(int map, const char* key) {
  RValue k = Text(key), v{VALUE_REAL, nullptr, -99.0};
  if (CDS_MapEntry* e = DS_Map_Get(map)->FindEntry(&k)) e->GetValue(&v);
  return v;
}

std::string RoundTrip(const char* json) {
  RValue v = Text(json);
  int map = JSON_Decode(v);
  std::string out = JSON_Encode(map);
  JSON_DestroyTree(map);
  return out;
}
}  // namespace

TEST(Json, NestedStructuresAreStoredAsMarkedIndices) {
  RValue v = Text(R"({"m": {"a": 1}, "l": [[], {"b": null}, null], "s": "x", "n": -3, "t": false})");
  int map = JSON_Decode(v);
  ASSERT_GE(map, 0);
  RValue m = Stored(map, "m"), l = Stored(map, "l");
  EXPECT_EQ(m.kind, VALUE_REAL | KIND_MARK_MAP);
  EXPECT_LT(m.val, map);  // nested maps take their index first
  ASSERT_NE(DS_Map_Get(static_cast<int>(m.val)), nullptr);
  EXPECT_EQ(Stored(static_cast<int>(m.val), "a").val, 1.0);
  EXPECT_EQ(l.kind, VALUE_REAL | KIND_MARK_LIST);
  CDS_List* list = DS_List_Get(static_cast<int>(l.val));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Size(), 3);
  EXPECT_EQ(list->FindValue(0)->kind, VALUE_REAL | KIND_MARK_LIST);
  EXPECT_EQ(list->FindValue(1)->kind, VALUE_REAL | KIND_MARK_MAP);
  EXPECT_TRUE(DS_Map_Get(static_cast<int>(list->FindValue(1)->val))->Empty());  // the null member is skipped
  EXPECT_EQ(list->FindValue(2)->kind, VALUE_REAL);
  EXPECT_EQ(list->FindValue(2)->val, 0.0);
  EXPECT_EQ(Stored(map, "s").kind, VALUE_STRING);
  EXPECT_EQ(Stored(map, "n").kind, VALUE_REAL);
  EXPECT_EQ(Stored(map, "n").val, -3.0);
  EXPECT_EQ(Stored(map, "t").val, 0.0);
  JSON_DestroyTree(map);
}

TEST(Json, LargeIntegersKeepTheirValue) {
  RValue v = Text(R"({"a": 5000000000, "b": -9007199254740993, "c": 18446744073709551615})");
  int map = JSON_Decode(v);
  EXPECT_EQ(Stored(map, "a").val, 5000000000.0);
  EXPECT_EQ(Stored(map, "b").val, -9007199254740992.0);
  EXPECT_EQ(Stored(map, "c").val, 18446744073709551616.0);
  JSON_DestroyTree(map);

  // Beyond 64 bits a whole number is a real with its value, as when written
  // with an exponent; texts that hold such digits stay texts.
  RValue big = Text(R"({"d": 100000000000000000000, "e": -100000000000000000000, "f": 1e20,
                        "g": [123456789012345678901234567890], "h": "100000000000000000000",
                        "i": "\"100000000000000000000", "j": 9223372036854775807, "k": -9223372036854775808,
                        "l": '100000000000000000000', "m": "'", "n": 100000000000000000000})");
  map = JSON_Decode(big);
  ASSERT_GE(map, 0);
  EXPECT_EQ(Stored(map, "d").val, 1e20);
  EXPECT_EQ(Stored(map, "e").val, -1e20);
  EXPECT_EQ(Stored(map, "f").val, 1e20);
  CDS_List* list = DS_List_Get(static_cast<int>(Stored(map, "g").val));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->FindValue(0)->val, 1.2345678901234568e29);
  EXPECT_STREQ(RValue_Text(Stored(map, "h")), "100000000000000000000");
  EXPECT_STREQ(RValue_Text(Stored(map, "i")), "\"100000000000000000000");
  EXPECT_EQ(Stored(map, "j").val, 9223372036854775807.0);
  EXPECT_EQ(Stored(map, "k").val, -9223372036854775808.0);
  EXPECT_STREQ(RValue_Text(Stored(map, "l")), "100000000000000000000");
  EXPECT_EQ(Stored(map, "n").val, 1e20);
  JSON_DestroyTree(map);
}

TEST(Json, FormFeedAndVerticalTabAroundAnObjectAreBlanks) {
  for (const char* t : {"\f{\"a\": 2}\f", "\v {\"a\": 2} \v", "\f\v\t\r\n{\"a\": 2}\n\v"}) {
    int map = JSON_Decode(Text(t));
    ASSERT_GE(map, 0);
    EXPECT_EQ(DS_Map_Get(map)->Size(), 1);
    EXPECT_EQ(Stored(map, "a").val, 2.0) << t;
    JSON_DestroyTree(map);
  }
}

TEST(Json, WrappedTextKeepsEveryByte) {
  const char* texts[] = {"plain", "\"", "\\", "a\\\" , \"b\": \"c", "tab\there\nline", "{", "}", "{ }x", "\x01\x1f", "caf\xc3\xa9"};
  for (const char* t : texts) {
    RValue v = Text(t);
    int map = JSON_Decode(v);
    ASSERT_GE(map, 0) << t;
    EXPECT_EQ(DS_Map_Get(map)->Size(), 1) << t;
    EXPECT_STREQ(RValue_Text(Stored(map, "default")), t);
    JSON_DestroyTree(map);
  }
  RValue real{VALUE_REAL, nullptr, 1e300};
  int map = JSON_Decode(real);
  std::string whole = RValue_Text(Stored(map, "default"));
  JSON_DestroyTree(map);
  EXPECT_EQ(whole.size(), 304u);
  EXPECT_EQ(whole.substr(whole.size() - 3), ".00");
}

TEST(Json, SkipBlanksTrimsBothEnds) {
  size_t b, e;
  JSON_SkipBlanks(" \t\v\f\r\n{}\n", 9, &b, &e);
  EXPECT_EQ(b, 6u);
  EXPECT_EQ(e, 8u);
  JSON_SkipBlanks("   ", 3, &b, &e);
  EXPECT_EQ(b, e);
  JSON_SkipBlanks("", 0, &b, &e);
  EXPECT_EQ(b, 0u);
  EXPECT_EQ(e, 0u);
}

TEST(Json, EncodingPrintsEveryNumberWithSixDecimals) {
  EXPECT_EQ(RoundTrip(R"({"a": [1, -0.0000004, 1e-7, 123456789012, 0.5, true]})"),
            R"({ "a": [ 1.000000, -0.000000, 0.000000, 123456789012.000000, 0.500000, 1.000000 ] })");
  EXPECT_EQ(RoundTrip("{}"), "{ }");
  const char* text = R"({"x": {"y": [{"z": "\u00e9\/\"\\"}], "w": []}})";
  std::string once = RoundTrip(text);
  EXPECT_EQ(RoundTrip(once.c_str()), once);
}

TEST(Json, DestroyTreeFreesEveryStructureOnceAlsoInACycle) {
  RValue v = Text(R"({"a": {"b": [{}, [1]]}, "me": {}})");
  int top = JSON_Decode(v);
  int a = static_cast<int>(Stored(top, "a").val);
  int me = static_cast<int>(Stored(top, "me").val);
  int list = static_cast<int>(Stored(a, "b").val);
  int inner = static_cast<int>(DS_List_Get(list)->FindValue(0)->val);
  DS_Map_Get(me)->Copy(DS_Map_Get(top));  // "me" now names itself, and "a" twice over
  JSON_DestroyTree(top);
  for (int index : {top, a, me, inner}) EXPECT_EQ(DS_Map_Get(index), nullptr) << index;
  EXPECT_EQ(DS_List_Get(list), nullptr);
}
