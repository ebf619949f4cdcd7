// A headless window and render device shared by the graphics tests, and
// helpers to read back what was drawn.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"

constexpr int kTestSize = 64;

// Made again when a test elsewhere closed the window, and sized again when
// one started a room (a room gives the window its size).
inline bool TestDevice_Start() {
  if (!GR_D3D_IsReady()) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!Window_Create("test", kTestSize, kTestSize) || !Graphics_Init()) return false;
  }
  if (GR_Window_GetWidth() != kTestSize || GR_Window_GetHeight() != kTestSize) {
    Window_SetSize(kTestSize, kTestSize);
    Window_ProcessMessages();
    GR_D3D_Start_Frame();
  }
  return true;
}

// Every test starts on a black screen with the default draw state.
class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TestDevice_Start()) << "no OpenGL 3.3 context headless";
    Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
    GR_SetBlendMode(0);
    GR_SetAlpha(1);
    GR_SetColor(0xFFFFFF);
    Graphics_Clear(0xFF000000);
  }
  static std::vector<uint32_t> Screen() {
    std::vector<uint32_t> p(size_t(kTestSize) * kTestSize);
    EXPECT_TRUE(Graphics_ReadPixels(-1, 0, 0, kTestSize, kTestSize, p.data()));
    return p;
  }
  static uint32_t Pixel(const std::vector<uint32_t>& s, int x, int y) { return s[size_t(y) * kTestSize + size_t(x)]; }
  // The pixels whose colour differs from black, as (x, y) pairs.
  static std::vector<std::pair<int, int>> Lit(const std::vector<uint32_t>& s) {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < kTestSize; y++)
      for (int x = 0; x < kTestSize; x++)
        if ((Pixel(s, x, y) & 0xFFFFFF) != 0) out.emplace_back(x, y);
    return out;
  }
};
