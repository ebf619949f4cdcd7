#include <gtest/gtest.h>

#include <string>

#include "Base/Console.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_TestDevice.h"

namespace {
using TextureOwners = GraphicsTest;

int g_Held = -1;
int g_Released = 0;
void ReleaseHeld() {
  GR_Texture_Free(g_Held);
  g_Held = -1;
  g_Released++;
}

std::string& Logged() {
  static std::string text;
  return text;
}

// Owners let go before the table frees; a flush only asks those whose
// textures do not survive it; what nobody owned is freed all the same, and
// a debug build names it.
TEST_F(TextureOwners, OwnersLetGoBeforeTheTableFrees) {
  const uint32_t px[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  ASSERT_TRUE(GR_Texture_AddOwner(ReleaseHeld));
  ASSERT_TRUE(GR_Texture_AddOwner(ReleaseHeld));  // once per callback
  g_Held = GR_Texture_Create(2, 2, px);
  ASSERT_GE(g_Held, 0);
  GR_Texture_Flush();
  EXPECT_EQ(g_Released, 0);
  EXPECT_TRUE(GR_Texture_Exists(g_Held));

  int stray = GR_Texture_Create(3, 1, nullptr);
  ASSERT_GE(stray, 0);
  Logged().clear();
  g_ConsoleListener = [](const char* line) { Logged() += line; };
  GR_Texture_FreeAll();
  g_ConsoleListener = nullptr;
  EXPECT_EQ(g_Released, 1);
  EXPECT_EQ(g_Held, -1);
  EXPECT_FALSE(GR_Texture_Exists(stray));
#ifdef NDEBUG
  EXPECT_EQ(Logged(), "");
#else
  EXPECT_NE(Logged().find("(3x1) is still held at exit"), std::string::npos) << Logged();
#endif
}
}  // namespace
