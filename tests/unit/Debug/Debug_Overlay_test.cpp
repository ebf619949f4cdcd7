// The debug overlay: the corner gestures that open its panel and switch,
// the debug font's line layout, and what it draws on the back buffer.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "Debug/Debug_Font.h"
#include "Debug/Debug_Overlay.h"
#include "Debug/Debug_Profiler.h"
#include "Graphics/Graphics_Embedded.h"
#include "Graphics_TestDevice.h"
#include "Option/Option_CommandLine.h"
#include "Run/Run_Main.h"

namespace {

// Clicks in the middle of a cell of the 10 x 10 grid over a 640 x 480 overlay.
void Click(int column, int row) { DebugOverlay_HandleMouse(float(column * 64 + 32), float(row * 48 + 24), true); }

class OverlayMouse : public testing::Test {
 protected:
  void SetUp() override {
    saved = Debug_Flags;
    Graphics_FrameCounters.overlayWidth = 640;
    Graphics_FrameCounters.overlayHeight = 480;
    Debug_Flags = 2;
    Click(5, 5);  // a miss: any gesture starts over
  }
  void TearDown() override { Debug_Flags = saved; }
  void OpenPanel() {
    const int cells[7][2] = {{0, 0}, {5, 5}, {9, 0}, {5, 5}, {9, 9}, {5, 5}, {0, 9}};
    for (const auto& c : cells) Click(c[0], c[1]);
  }
  unsigned saved = 0;
};

TEST_F(OverlayMouse, TheCornerPatternOpensThePanelAndAMissStartsOver) {
  Click(0, 0);
  Click(5, 5);
  Click(9, 0);
  Click(9, 9);  // the centre was wanted: start over
  Click(5, 5);
  Click(9, 0);
  Click(0, 9);
  EXPECT_EQ(Debug_Flags, 2u);
  // Moving without a release, or a release off the grid, changes nothing.
  Click(0, 0);
  DebugOverlay_HandleMouse(0, 0, false);
  Click(5, 5);
  DebugOverlay_HandleMouse(-10, 240, true);
  DebugOverlay_HandleMouse(700, 240, true);
  Click(9, 0);
  Click(4, 4);  // the centre's tolerance is two cells
  Click(9, 9);
  Click(5, 5);
  EXPECT_EQ(Debug_Flags, 2u);
  Click(0, 9);
  EXPECT_EQ(Debug_Flags, 3u);
}

TEST_F(OverlayMouse, TheSwitchAppearsAfterEachCornerTwiceAndTogglesTheFpsLine) {
  OpenPanel();
  ASSERT_EQ(Debug_Flags, 3u);
  // While the switch is hidden its area is only a cell of the gesture.
  DebugOverlay_HandleMouse(40, 18, true);
  EXPECT_EQ(Debug_Flags, 3u);
  Click(5, 5);
  const int corners[8][2] = {{0, 0}, {0, 0}, {9, 0}, {9, 0}, {9, 9}, {9, 9}, {0, 9}, {0, 9}};
  for (const auto& c : corners) Click(c[0], c[1]);
  EXPECT_EQ(Debug_Flags, 11u);
  DebugOverlay_HandleMouse(40, 18, true);
  EXPECT_EQ(Debug_Flags, 9u);
  DebugOverlay_HandleMouse(11, 25, true);
  EXPECT_EQ(Debug_Flags, 11u);
  DebugOverlay_HandleMouse(74, 18, true);  // just outside
  EXPECT_EQ(Debug_Flags, 11u);
  // CLOSE hides the panel and the switch, and leaves the FPS line as it is.
  DebugOverlay_HandleMouse(640 - 16, 88, true);
  EXPECT_EQ(Debug_Flags, 11u);
  DebugOverlay_HandleMouse(640 - 40, 88, true);
  EXPECT_EQ(Debug_Flags, 2u);
  // A counter left by the longer pattern when the flags change elsewhere
  // starts over instead of reading past the shorter one.
  Debug_Flags = 3;
  for (int i = 0; i < 7; i++) Click(corners[i][0], corners[i][1]);
  Debug_Flags = 2;
  OpenPanel();
  EXPECT_EQ(Debug_Flags, 3u);
}

int Width(const char* text) { return DebugFont_TextWidth(text, int(strlen(text))); }

TEST(DebugFont, LinesWrapAtBlanksAndLineFeedsAndCentre) {
  const char* text = "  first line\n\n one two three";
  DebugFontLine lines[8];
  // One pixel short of "one two three".
  int display = Width("one two three") - 1 + 4;
  ASSERT_GE(display - 4, Width("first line"));
  int n = DebugFont_Wrap(text, 5, 20, display, lines, 8);
  ASSERT_EQ(n, 3);
  auto Line = [&](int i) { return std::string(text + lines[i].start, size_t(lines[i].length)); };
  EXPECT_EQ(Line(0), "first line");
  EXPECT_EQ(Line(1), "one two");
  EXPECT_EQ(Line(2), "three");
  EXPECT_EQ(lines[0].x, 5);
  EXPECT_EQ(lines[1].y - lines[0].y, float(EMBEDDED_FONT_LINE + 2));
  EXPECT_EQ(lines[2].y, 20 + 2.0f * (EMBEDDED_FONT_LINE + 2));

  // Centred: each line on its own, within the display width.
  n = DebugFont_Wrap(text, DEBUGFONT_CENTRE, 0, display, lines, 8);
  ASSERT_EQ(n, 3);
  EXPECT_EQ(lines[1].x, (display + 1 - Width("one two")) / 2);
  EXPECT_EQ(lines[2].x, (display + 1 - Width("three")) / 2);

  // A word wider than the line stands alone; only maxLines are filled.
  n = DebugFont_Wrap("abcdefghij k", 0, 0, 10, lines, 1);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(lines[0].length, 10);
  EXPECT_EQ(DebugFont_Wrap(" \n \n", 0, 0, 100, lines, 8), 0);
}

TEST(DebugFont, GlyphsCoverThePrintableRangeAndTabsSkipToStops) {
  EXPECT_EQ(EmbeddedImage_FontGlyph(31), nullptr);
  EXPECT_EQ(EmbeddedImage_FontGlyph(137), nullptr);
  for (uint32_t c = 32; c <= 136; c++) {
    const EmbeddedGlyph* g = EmbeddedImage_FontGlyph(c);
    ASSERT_NE(g, nullptr);
    EXPECT_GT(g->width, 0);
    EXPECT_LE(g->u + g->width, EMBEDDED_FONT_WIDTH);
    EXPECT_LE(g->v + g->height, EMBEDDED_FONT_HEIGHT);
  }
  // Tabs take no width; characters outside the font advance like a blank.
  EXPECT_EQ(Width("a\tb"), Width("ab"));
  EXPECT_EQ(Width("\x01"), Width(" "));
}

// Draws over a grey screen whose overlay display matches the window.
class OverlayPixels : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    Profiler_Init();
    savedFlags = Debug_Flags;
    Graphics_FrameCounters.overlayWidth = kTestSize;
    Graphics_FrameCounters.overlayHeight = kTestSize;
    Graphics_Clear(kGrey);
  }
  void TearDown() override {
    DebugFont_ReleaseTexture();
    Graphics_FrameCounters.overlayWidth = 640;
    Graphics_FrameCounters.overlayHeight = 480;
    Debug_Flags = savedFlags;
    Run_Paused = false;
  }
  static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  static constexpr uint32_t kGrey = 0xFF808080u;
  unsigned savedFlags = 0;
};

TEST_F(OverlayPixels, FpsLineIsWhiteOnBlackAboveTheSectionBar) {
  Debug_Flags = 2;
  Profiler_Total();
  Sleep(10);
  Profiler_Begin("Update", 0xFF0000FFu);
  Sleep(35);
  Profiler_End();
  DebugOverlay_Draw();
  std::vector<uint32_t> s = Screen();
  int white = 0, black = 0;
  for (int y = 0; y < 10; y++)
    for (int x = 0; x < 24; x++) {
      white += Pixel(s, x, y) == 0xFFFFFFFFu;
      black += Pixel(s, x, y) == 0xFF000000u;
    }
  EXPECT_GT(white, 10);
  EXPECT_GT(black, white);
  // "Total" in dark red from the frame's start; "Update" in red from 10 ms
  // on (64 pixels are a fifteenth of a second).
  EXPECT_EQ(Pixel(s, 1, 15), 0xFF800000u);
  EXPECT_EQ(Pixel(s, 40, 15), 0xFFFF0000u);
  EXPECT_EQ(Pixel(s, 40, 25), kGrey);
  EXPECT_GT(Graphics_FrameCounters.fps, 0.0f);

  // Paused: the line without the bar.
  Run_Paused = true;
  Graphics_Clear(kGrey);
  Profiler_Total();
  DebugOverlay_Draw();
  s = Screen();
  EXPECT_EQ(Pixel(s, 1, 15), kGrey);
}

TEST_F(OverlayPixels, PanelDarkensTheTopHundredRows) {
  Debug_Flags = 1;
  Graphics_FrameCounters.overlayHeight = 128;  // 100 rows of it are the top 50 of the window
  // A name far longer than the panel's line buffer is cut, not overrun.
  DebugOverlay_SetGame(std::string(5000, 'n').c_str(), 2, 5);
  DebugOverlay_Draw();
  std::vector<uint32_t> s = Screen();
  uint32_t dark = Pixel(s, 1, 45);
  EXPECT_LT(dark & 0xFF, 0x30u);
  EXPECT_GT(dark & 0xFF, 0u);
  EXPECT_EQ(Pixel(s, 1, 55), kGrey);
  // Its texts are white.
  int white = 0;
  for (uint32_t p : s) white += p == 0xFFFFFFFFu;
  EXPECT_GT(white, 0);
}

TEST_F(OverlayPixels, NothingIsDrawnOutsideDebugMode) {
  Debug_Flags = 0;
  Profiler_Total();
  Sleep(5);
  DebugOverlay_Draw();
  for (uint32_t p : Screen()) ASSERT_EQ(p, kGrey);
}

}  // namespace
