#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Window_Main.h"

namespace {

TEST(GraphicsColour, HsvConversionsAndMerging) {
  EXPECT_EQ(Colour_FromHSV(0, 0, 255), 16777215u);
  EXPECT_EQ(Colour_FromHSV(0, 255, 255), 255u);
  EXPECT_EQ(Colour_FromHSV(256, 255, 255), 255u);  // h taken modulo 256
  EXPECT_EQ(Colour_FromHSV(85, 255, 255) & 0xFF00, 0xFF00u);
  int h, s, v;
  Colour_ToHSV(255, &h, &s, &v);
  EXPECT_EQ(std::vector<int>({h, s, v}), std::vector<int>({0, 255, 255}));
  Colour_ToHSV(0x00FF00, &h, &s, &v);
  EXPECT_EQ(h, 85);
  Colour_ToHSV(0xFFFFFF, &h, &s, &v);
  EXPECT_EQ(s, 0);
  Colour_ToHSV(0, &h, &s, &v);
  EXPECT_EQ(std::vector<int>({h, s, v}), std::vector<int>({0, 0, 0}));
  Colour_ToHSV(0xFF0000, &h, &s, &v);  // blue: 240 degrees
  EXPECT_EQ(h, 170);
  EXPECT_EQ(Colour_Merge(0, 0xFFFFFF, 0.5f), 8421504u);
  EXPECT_EQ(Colour_Merge(0x0000FF, 0xFF0000, 0), 0x0000FFu);
  EXPECT_EQ(Colour_Merge(0x0000FF, 0xFF0000, 1), 0xFF0000u);
}

TEST(GraphicsImage, WrittenFilesReadBack) {
  const uint32_t px[6] = {0xFFFF0000u, 0xFF00FF00u, 0x800000FFu, 0xFF102030u, 0x00000000u, 0xFFFFFFFFu};
  char path[] = "/tmp/gr_png_XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_TRUE(GR_Image_SavePNG(path, px, 3, 2));
  std::vector<CBitmap32> frames;
  ASSERT_TRUE(GR_Image_Load(path, frames));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].width, 3);
  EXPECT_EQ(std::vector<uint32_t>(px, px + 6), frames[0].pixels);
  remove(path);

  // BMP: bottom-up rows of B, G, R padded to four bytes; alpha dropped.
  std::vector<uint8_t> bmp = GR_Image_SaveBMP(px, 3, 2);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.begin() + 63),
            std::vector<uint8_t>({0x30, 0x20, 0x10, 0, 0, 0, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 66, bmp.begin() + 69), std::vector<uint8_t>({0, 0, 0xFF}));
  ASSERT_TRUE(GR_Image_Decode(bmp.data(), bmp.size(), frames));
  EXPECT_EQ(frames[0].pixels[0], 0xFFFF0000u);

  // An animated GIF gives every frame: red, then blue.
  const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF,
                         0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,
                         0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,
                         0x3B};
  ASSERT_TRUE(GR_Image_Decode(gif, sizeof gif, frames));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].pixels[0], 0xFFFF0000u);
  EXPECT_EQ(frames[1].pixels[0], 0xFF0000FFu);

  // Bad data and bad arguments are refused.
  const char junk[] = "not an image";
  EXPECT_FALSE(GR_Image_Decode(junk, sizeof junk, frames));
  EXPECT_FALSE(GR_Image_Decode(nullptr, 0, frames));
  EXPECT_FALSE(GR_Image_Load("/nonexistent/file.png", frames));
  EXPECT_FALSE(GR_Image_SavePNG("", px, 3, 2));
  EXPECT_TRUE(GR_Image_SaveBMP(px, 0, 2).empty());
}

TEST(GraphicsWindow, KeysBecomeVirtualKeyNumbers) {
  EXPECT_EQ(Window_KeyToVirtual('a', 0), 'A');
  EXPECT_EQ(Window_KeyToVirtual('7', 0), '7');
  EXPECT_EQ(Window_KeyToVirtual(0x4000003A, 0), 112);  // F1
  EXPECT_EQ(Window_KeyToVirtual(0x400000E1, 0), 160);  // left Shift
  EXPECT_EQ(Window_KeyToVirtual(0x400000E5, 0), 161);  // right Shift
  EXPECT_EQ(Window_KeyToVirtual(0x400000E0, 0), 162);  // left Ctrl
  EXPECT_EQ(Window_KeyToVirtual(0x400000E6, 0), 165);  // right Alt
  EXPECT_EQ(Window_KeyToVirtual(0x40000050, 0), 37);   // left arrow
  EXPECT_EQ(Window_KeyToVirtual(0x40000062, 0), 96);   // keypad 0
  EXPECT_EQ(Window_KeyToVirtual(13, 0), 13);
  EXPECT_EQ(Window_KeyToVirtual(0x40000101, 0), 0);    // no Windows key
}

}  // namespace
