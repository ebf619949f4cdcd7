#include "Font/Font_Main.h"
#include "Graphics_TestDevice.h"

namespace {

class TextTest : public GraphicsTest {
 protected:
  void TearDown() override {
    Text_SetHAlign(0);
    Text_SetVAlign(0);
    Text_SetFont(-1);
  }
  // The box around every lit pixel: left, top, right, bottom.
  static std::vector<int> LitBox() {
    auto lit = Lit(Screen());
    std::vector<int> box{kTestSize, kTestSize, -1, -1};
    for (auto [x, y] : lit) {
      box[0] = std::min(box[0], x);
      box[1] = std::min(box[1], y);
      box[2] = std::max(box[2], x);
      box[3] = std::max(box[3], y);
    }
    return box;
  }
};

TEST_F(TextTest, LinesBreakAtHashAndWrapAtTheWidth) {
  EXPECT_EQ(Text_Width("Hello", -1, -1), 40);
  EXPECT_EQ(Text_Height("Hello", -1, -1), 8);
  EXPECT_EQ(Text_Height("a#b", -1, -1), 16);
  EXPECT_EQ(Text_Height("a\r\nb\nc", -1, -1), 24);
  EXPECT_EQ(Text_Height("a#b", 20, -1), 40);
  // "\#" is a "#" that does not break.
  EXPECT_EQ(Text_Height("a\\#b", -1, -1), 8);
  EXPECT_EQ(Text_Width("a\\#b", -1, -1), 24);
  // Wrapping at blanks; a word wider than the width keeps its line.
  EXPECT_EQ(Text_Height("one two three", -1, 60), 16);
  EXPECT_EQ(Text_Width("one two three", -1, 60), 56);
  EXPECT_EQ(Text_Height("abcdefghij", -1, 16), 8);
  EXPECT_EQ(Text_Height("", -1, -1), 8);
  // An unknown font falls back to the built-in one.
  Text_SetFont(12345);
  EXPECT_EQ(Text_Width("Hi", -1, -1), 16);
}

TEST_F(TextTest, TextLandsWhereTheAlignmentSays) {
  // "H" lights columns 0, 1, 4, 5 of its cell and rows 0 to 6.
  Text_Draw(10, 20, "H", -1, -1);
  EXPECT_EQ(LitBox(), (std::vector<int>{10, 20, 15, 26}));
  EXPECT_EQ(Pixel(Screen(), 10, 20), 0xFFFFFFFFu);

  Graphics_Clear(0xFF000000);
  Text_SetHAlign(2);
  Text_SetVAlign(2);
  Text_Draw(40, 30, "H", -1, -1);
  EXPECT_EQ(LitBox(), (std::vector<int>{32, 22, 37, 28}));

  Graphics_Clear(0xFF000000);
  Text_SetHAlign(1);
  Text_SetVAlign(1);
  Text_Draw(32, 32, "HH#H", -1, -1);  // two lines, 16 and 8 wide, 16 high
  EXPECT_EQ(LitBox(), (std::vector<int>{24, 24, 37, 38}));
  auto scr = Screen();
  EXPECT_EQ(Pixel(scr, 28, 32), 0xFFFFFFFFu);  // second line centred: 28..35
  EXPECT_EQ(Pixel(scr, 24, 32), 0xFF000000u);

  // Colour and alpha of the draw state.
  Graphics_Clear(0xFF000000);
  Text_SetHAlign(0);
  Text_SetVAlign(0);
  GR_SetColor(0x0000FF);
  Text_Draw(0, 0, "H", -1, -1);
  EXPECT_EQ(Pixel(Screen(), 0, 0), 0xFFFF0000u);
}

}  // namespace
