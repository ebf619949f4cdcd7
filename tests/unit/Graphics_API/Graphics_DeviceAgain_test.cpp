#include <gtest/gtest.h>

#include "Font/Font_Main.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_TestDevice.h"

namespace {
using DeviceAgain = GraphicsTest;

// A window closed and opened again brings a new device with an empty texture
// table: what was made on the old one must not draw with a stale id.
TEST_F(DeviceAgain, BuiltInGlyphsAreMadeAgainForANewDevice) {
  Text_SetFont(-1);
  Text_Draw(0, 0, "H", -1, -1);
  size_t lit = Lit(Screen()).size();
  ASSERT_GT(lit, 0u);

  Window_Destroy();
  ASSERT_TRUE(TestDevice_Start());
  GraphicsTest::SetUp();
  // A black texture takes the first free slot, where the old glyphs were.
  const uint32_t black[4] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
  int other = GR_Texture_Create(2, 2, black);
  ASSERT_GE(other, 0);
  Text_Draw(0, 0, "H", -1, -1);
  EXPECT_EQ(Lit(Screen()).size(), lit);
  GR_Texture_Free(other);
}
}  // namespace
