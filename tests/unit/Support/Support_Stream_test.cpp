#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Platform/MemoryManager.h"
#include "Support/Support_Stream.h"

namespace {
std::string TakeText(char* text) {
  std::string s = text ? text : "<none>";
  MEM_FREE(text);
  return s;
}
}  // namespace

TEST(Stream, FieldsAreLittleEndianAndHexIsUpperCase) {
  CStream s;
  s.WriteInteger(1);
  s.WriteReal(1.0);
  s.WriteString("ab");
  EXPECT_EQ(TakeText(s.ConvertToString()), "01000000000000000000F03F020000006162");
  EXPECT_EQ(s.GetSize(), 18);
  s.SetPosition(0);
  EXPECT_EQ(TakeText(s.ConvertToString()), "<none>");
}

TEST(Stream, RoundTripsThroughHexText) {
  CStream out;
  out.WriteInteger(-123456789);
  out.WriteReal(-0.1);
  out.WriteString("h\xC3\xA9llo");
  out.WriteString(nullptr);
  out.WriteString("");
  out.WriteBoolean(true);
  std::string hex = TakeText(out.ConvertToString());

  CStream in;
  in.ConvertFromString(hex.c_str());
  EXPECT_EQ(in.GetPosition(), 0);
  EXPECT_EQ(in.ReadInteger(), -123456789);
  EXPECT_EQ(in.ReadReal(), -0.1);
  EXPECT_EQ(TakeText(in.ReadString()), "h\xC3\xA9llo");
  EXPECT_EQ(TakeText(in.ReadString()), "<none>");  // no text and the empty text both read as none
  EXPECT_EQ(TakeText(in.ReadString()), "<none>");
  EXPECT_TRUE(in.ReadBoolean());
  EXPECT_EQ(in.GetPosition(), in.GetSize());
}

TEST(Stream, HexDecodingTakesOnlyWholeLeadingPairs) {
  CStream s;
  s.ConvertFromString("0a0B0c0");  // odd length: the last digit is dropped
  EXPECT_EQ(s.GetSize(), 3);
  EXPECT_EQ(s.GetMemory()[1], 0x0B);
  s.ConvertFromString("FFzz00");  // stops at the first pair that is not hex
  EXPECT_EQ(s.GetSize(), 1);
  s.ConvertFromString("");  // empty text leaves the stream
  EXPECT_EQ(s.GetSize(), 1);
  s.ConvertFromString("x1");
  EXPECT_EQ(s.GetSize(), 0);
  EXPECT_EQ(s.ReadInteger(), 0);
}

TEST(Stream, ReadsPastTheEndFailSafely) {
  CStream s;
  s.ConvertFromString("010203");  // three bytes: too short for an integer
  EXPECT_EQ(s.ReadInteger(), 0);
  EXPECT_EQ(s.GetPosition(), 3);
  EXPECT_EQ(s.ReadReal(), 0.0);

  s.ConvertFromString("05000000616263");  // length 5 but only 3 bytes follow
  EXPECT_EQ(s.ReadString(), nullptr);
  EXPECT_EQ(s.GetPosition(), s.GetSize());

  s.ConvertFromString("FFFFFFFF6162");  // negative length
  EXPECT_EQ(s.ReadString(), nullptr);
  EXPECT_EQ(s.GetPosition(), s.GetSize());

  s.ConvertFromString("01000000");
  s.SetPosition(100);  // clamped to the end
  EXPECT_EQ(s.GetPosition(), 4);
  s.SetPosition(-1);
  EXPECT_EQ(s.ReadInteger(), 1);
}

TEST(Stream, InitialSizeIsZeroFilledAndWritesGrowPastIt) {
  CStream s(4);
  EXPECT_EQ(s.GetSize(), 4);
  EXPECT_EQ(s.ReadInteger(), 0);
  s.WriteInteger(7);
  s.WriteString("xyz");
  EXPECT_EQ(s.GetSize(), 15);
  s.SetPosition(4);
  EXPECT_EQ(s.ReadInteger(), 7);
  EXPECT_EQ(TakeText(s.ReadString()), "xyz");
}

TEST(Stream, CompressesAndDecompressesAcrossChunks) {
  CStream s;
  for (int i = 0; i < 20000; ++i) s.WriteInteger(i * 7919);  // 80,000 bytes: several chunks
  int64_t plain = s.GetSize();
  ASSERT_TRUE(s.Compress());
  EXPECT_LT(s.GetSize(), plain);
  ASSERT_TRUE(s.Decompress());
  ASSERT_EQ(s.GetSize(), plain);
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(s.ReadInteger(), i * 7919);

  CStream empty;
  ASSERT_TRUE(empty.Compress());
  ASSERT_TRUE(empty.Decompress());
  EXPECT_EQ(empty.GetSize(), 0);
}

TEST(Stream, DecompressRefusesBrokenBlocksAndKeepsTheData) {
  CStream s;
  s.WriteString("not a zlib block");
  int64_t size = s.GetSize();
  EXPECT_FALSE(s.Decompress());
  EXPECT_EQ(s.GetSize(), size);

  CStream t;
  for (int i = 0; i < 5000; ++i) t.WriteInteger(i);
  ASSERT_TRUE(t.Compress());
  t.SetPosition(t.GetSize());
  CStream cut;
  cut.ConvertFromString(TakeText(t.ConvertToString()).substr(0, 40).c_str());  // first 20 bytes only
  EXPECT_FALSE(cut.Decompress());
  EXPECT_EQ(cut.GetSize(), 20);
}

TEST(Stream, LoadsAFileFromAnOffset) {
  char path[] = "/tmp/stream_testXXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  FILE* f = fdopen(fd, "wb");
  fwrite("ABCD\x02\x00\x00\x00", 1, 8, f);
  fclose(f);
  CStream s;
  ASSERT_TRUE(s.LoadFromFile(path, 4));
  EXPECT_EQ(s.GetSize(), 4);
  EXPECT_EQ(s.ReadInteger(), 2);
  EXPECT_FALSE(s.LoadFromFile(path, 9));
  EXPECT_EQ(s.GetSize(), 4);
  EXPECT_FALSE(s.LoadFromFile("/nonexistent/file", 0));
  remove(path);
}
