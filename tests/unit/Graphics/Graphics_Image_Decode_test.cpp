// The image decoders, on pictures of every kind a game may bring (each in
// tests/decode beside NAME.ref.png, the pixels it must give, its frames
// stacked top to bottom) and on damaged files.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_ImageDecode.h"
#include "Support/Support_File.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(DECODE_DIR) + "/" + name; }

std::vector<std::string> FixturesWithReferences() {
  std::vector<std::string> names;
  DIR* dir = opendir(DECODE_DIR);
  if (!dir) return names;
  const std::string suffix = ".ref.png";
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(name.substr(0, name.size() - suffix.size()));
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// Every frame of a file, stacked top to bottom as the references are.
bool LoadStacked(const std::string& path, CBitmap32& out) {
  std::vector<CBitmap32> frames;
  if (!GR_Image_Load(path.c_str(), frames)) return false;
  out = CBitmap32(frames[0].width, frames[0].height * int(frames.size()));
  for (size_t f = 0; f < frames.size(); f++)
    std::copy(frames[f].pixels.begin(), frames[f].pixels.end(), out.pixels.begin() + f * frames[0].pixels.size());
  return true;
}

// The largest difference of one channel between two pictures of one size,
// leaving out one column (or none, at -1).
int LargestDifference(const CBitmap32& a, const CBitmap32& b, int skipColumn = -1) {
  int largest = 0;
  for (int y = 0; y < a.height; y++)
    for (int x = 0; x < a.width; x++) {
      if (x == skipColumn) continue;
      for (int shift = 0; shift < 32; shift += 8)
        largest = std::max(largest, std::abs(int((a.Row(y)[x] >> shift) & 255) - int((b.Row(y)[x] >> shift) & 255)));
    }
  return largest;
}

bool IsJpeg(const std::string& name) { return name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0; }

TEST(ImageDecode, PngBmpAndGifGiveTheirReferencePixelsExactly) {
  int checked = 0;
  for (const std::string& name : FixturesWithReferences()) {
    if (IsJpeg(name)) continue;
    SCOPED_TRACE(name);
    CBitmap32 got, want;
    ASSERT_TRUE(LoadStacked(Fixture(name), got));
    ASSERT_TRUE(LoadStacked(Fixture(name + ".ref.png"), want));
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);  // as many frames
    EXPECT_EQ(LargestDifference(got, want), 0);
    checked++;
  }
  EXPECT_EQ(checked, 25);
}

// JPEG decoders differ in the rounding of their inverse transform and colour
// upsampling: two levels a channel at most. The references also weighted
// the wrong neighbour on the last column of an odd width whose colour is
// halved across, so that column is left out there.
TEST(ImageDecode, JpegStaysWithinTwoLevelsOfItsReference) {
  int checked = 0;
  for (const std::string& name : FixturesWithReferences()) {
    if (!IsJpeg(name)) continue;
    SCOPED_TRACE(name);
    CBitmap32 got, want;
    ASSERT_TRUE(LoadStacked(Fixture(name), got));
    ASSERT_TRUE(LoadStacked(Fixture(name + ".ref.png"), want));
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    bool oddHalved = name == "jpeg_422_odd_width.jpg";
    EXPECT_LE(LargestDifference(got, want, oddHalved ? got.width - 1 : -1), 2);
    for (uint32_t p : got.pixels) ASSERT_EQ(p >> 24, 255u);
    checked++;
  }
  EXPECT_EQ(checked, 7);
}

// Each file that once got past a decoder's checks is refused whole.
TEST(ImageDecode, DamagedFilesAreRefused) {
  std::vector<CBitmap32> frames;
  // A Huffman table whose code counts add up past the table's size.
  const uint8_t huffmanPastTable[] = {0xff, 0xd8, 0xff, 0xff, 0xc4, 0x08, 0x06, 0x00, 0x33, 0x2e, 0xff};
  EXPECT_FALSE(GR_Image_Decode(huffmanPastTable, sizeof huffmanPastTable, frames));
  EXPECT_TRUE(frames.empty());
  EXPECT_LT(GR_Texture_CreateFromImage(huffmanPastTable, sizeof huffmanPastTable), 0);

  // A progressive file of 606 scans, each a pass over the picture: refused
  // before it keeps the decoder busy; its first six scans alone are read.
  std::vector<uint8_t> scans;
  ASSERT_TRUE(File_ReadWhole(Fixture("jpeg_600_scans.jpg").c_str(), scans));
  EXPECT_FALSE(GR_Image_Decode(scans.data(), scans.size(), frames));
  const uint8_t eoi[] = {0xff, 0xd9};
  const size_t repeated = 600 * 11;  // the last scan, 11 bytes, again and again
  std::vector<uint8_t> six(scans.begin(), scans.end() - 2 - repeated);
  six.insert(six.end(), eoi, eoi + 2);
  ASSERT_TRUE(GR_Image_Decode(six.data(), six.size(), frames));
  EXPECT_EQ(frames[0].width, 8);

  // A PNG chunk that announces 2 GiB in a file of a few bytes.
  std::vector<uint32_t> one(1, 0xFF102030u);
  std::vector<uint8_t> png = GR_Image_EncodePNG(one.data(), 1, 1);
  ASSERT_TRUE(GR_Image_Decode(png.data(), png.size(), frames));
  png[33] = 0x7f, png[34] = 0xff, png[35] = 0xff, png[36] = 0xf0;  // the first chunk after the header
  EXPECT_FALSE(GR_Image_Decode(png.data(), png.size(), frames));
}

// A file cut short anywhere is refused (PNG, BMP) or gives only what it
// holds (JPEG shows grey, GIF the frames that arrived), and never reads past
// its end: the sanitizer run checks every cut of every fixture.
TEST(ImageDecode, FilesCutShortAnywhere) {
  for (const std::string& name : FixturesWithReferences()) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> whole;
    ASSERT_TRUE(File_ReadWhole(Fixture(name).c_str(), whole));
    CBitmap32 reference;
    ASSERT_TRUE(LoadStacked(Fixture(name + ".ref.png"), reference));
    bool strict = name.compare(0, 3, "png") == 0 || name.compare(0, 3, "bmp") == 0;
    for (size_t cut = 0; cut < whole.size(); cut += cut < 64 ? 1 : 7) {
      // A copy of just that many bytes, so that a read past them is caught.
      std::vector<uint8_t> part(whole.begin(), whole.begin() + cut);
      std::vector<CBitmap32> frames;
      bool read = GR_Image_Decode(part.data(), part.size(), frames);
      // A BMP's last row may come without its padding.
      if (strict && !(name.compare(0, 3, "bmp") == 0 && cut + 3 >= whole.size())) {
        EXPECT_FALSE(read) << cut;
      }
      if (!read) continue;
      EXPECT_EQ(frames[0].width, reference.width) << cut;
    }
  }
}

// The BMP reader against the fields a header may hold wrong.
TEST(ImageDecode, BmpHeadersAreCheckedAgainstTheFile) {
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(File_ReadWhole(Fixture("bmp_8bit.bmp").c_str(), bmp));
  std::vector<CBitmap32> frames;
  auto decodes = [&](std::vector<uint8_t> bytes) { return GR_Image_Decode(bytes.data(), bytes.size(), frames); };
  auto put32 = [](std::vector<uint8_t> bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) bytes[at + size_t(i)] = uint8_t(v >> (8 * i));
    return bytes;
  };
  ASSERT_TRUE(decodes(bmp));
  EXPECT_FALSE(decodes(put32(bmp, 10, 20)));           // pixels said to start inside the header
  EXPECT_FALSE(decodes(put32(bmp, 10, 0x7FFFFFFF)));   // or past the end of the file
  EXPECT_FALSE(decodes(put32(bmp, 10, 14 + 40)));      // no palette at all
  EXPECT_FALSE(decodes(put32(bmp, 10, 14 + 40 + 4 * 257)));  // more than 256 colours
  EXPECT_FALSE(decodes(put32(bmp, 30, 1)));            // run-length data
  EXPECT_FALSE(decodes(put32(bmp, 30, 0xFFFFFFBF)));   // an unknown compression
  EXPECT_FALSE(decodes(put32(bmp, 14, 64)));           // an unknown header
  EXPECT_FALSE(decodes(put32(bmp, 18, 0)));            // no width
  EXPECT_FALSE(decodes(put32(bmp, 18, uint32_t(-37)))); // a negative width

  // A palette of two colours read by pixels that name colour 200: black.
  std::vector<uint8_t> two = put32(bmp, 10, 14 + 40 + 8);
  two.erase(two.begin() + 14 + 40 + 8, two.begin() + 14 + 40 + 4 * 256);
  std::fill(two.begin() + 14 + 40 + 8, two.end(), 200);
  ASSERT_TRUE(decodes(two));
  EXPECT_EQ(frames[0].pixels[0], 0xFF000000u);
}

// A GIF frame that does not fit the picture ends the frames: those before it
// are kept.
TEST(ImageDecode, GifFramesOutsideThePictureEndTheFrames) {
  // 2 x 1 pixels, a palette of red and blue, frames of one pixel at x = 0.
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF};
  auto addFrame = [&](int left, uint8_t data) {
    const uint8_t frame[] = {0x2C, uint8_t(left), 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, data, 0x01, 0};
    gif.insert(gif.end(), frame, frame + sizeof frame);
  };
  addFrame(0, 0x44);  // red
  addFrame(1, 0x4C);  // blue, at x = 1
  addFrame(2, 0x44);  // past the right edge
  addFrame(0, 0x4C);
  gif.push_back(0x3B);
  std::vector<CBitmap32> frames;
  ASSERT_TRUE(GR_Image_Decode(gif.data(), gif.size(), frames));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].pixels, std::vector<uint32_t>({0xFFFF0000u, 0xFF0000FFu}));
  // Nothing fits: no picture.
  gif[19 + 1] = 2;
  EXPECT_FALSE(GR_Image_Decode(gif.data(), gif.size(), frames));
  EXPECT_TRUE(frames.empty());
}

// A frame whose pixels end early (an end code) keeps the rows it holds, and
// the frames after it are read.
TEST(ImageDecode, GifFramesWhosePixelsEndEarlyKeepTheirRows) {
  // 1 x 2 pixels, a palette of red and blue; each frame covers the picture.
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 2, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF};
  auto addFrame = [&](uint8_t a, uint8_t b) {
    const uint8_t frame[] = {0x2C, 0, 0, 0, 0, 1, 0, 2, 0, 0, 2, 2, a, b, 0};
    gif.insert(gif.end(), frame, frame + sizeof frame);
  };
  addFrame(0x04, 0x0A);  // red, red
  addFrame(0x4C, 0x01);  // blue, then the end code: the second row is missing
  addFrame(0x4C, 0x0A);  // blue, blue
  gif.push_back(0x3B);
  std::vector<CBitmap32> frames;
  ASSERT_TRUE(GR_Image_Decode(gif.data(), gif.size(), frames));
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].pixels, std::vector<uint32_t>({0xFFFF0000u, 0xFFFF0000u}));
  EXPECT_EQ(frames[1].pixels, std::vector<uint32_t>({0xFF0000FFu, 0xFFFF0000u}));
  EXPECT_EQ(frames[2].pixels, std::vector<uint32_t>({0xFF0000FFu, 0xFF0000FFu}));
  // A file cut inside the second frame's data gives the frame before it.
  gif.resize(19 + 15 + 13);
  ASSERT_TRUE(GR_Image_Decode(gif.data(), gif.size(), frames));
  EXPECT_EQ(frames.size(), 1u);
}

}  // namespace
