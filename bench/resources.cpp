// Making resources at run time, headless: font_add of characters 32 to 127
// at 12, 24 and 48 points (the face looked up, every glyph drawn and the
// sheet made a texture), and sprite_add of a 1024 by 1024 PNG (read,
// decoded, cut and made a texture). Times are per call, in milliseconds.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Base/File_Folders.h"
#include "Font/Font_Main.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Window_Main.h"
#include "Sprite/Sprite_Main.h"

namespace {

bool Start() {
  static bool ok = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return Window_Create("bench", 64, 64) && Graphics_Init();
  }();
  return ok;
}

void FontAdd(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  int size = int(state.range(0));
  for (auto _ : state) {
    int f = Font_Add("DejaVu Sans", size, false, false, 32, 127);
    benchmark::DoNotOptimize(f);
    Font_Delete(f);
  }
}
BENCHMARK(FontAdd)->Arg(12)->Arg(24)->Arg(48)->Unit(benchmark::kMillisecond);

// A picture with detail everywhere, so that it does not compress to nothing.
std::string WritePicture() {
  static std::string folder;
  if (!folder.empty()) return folder;
  char dir[] = "/tmp/bench_res_XXXXXX";
  if (!mkdtemp(dir)) return "";
  folder = dir;
  std::vector<uint32_t> pixels(1024 * 1024);
  for (int y = 0; y < 1024; y++)
    for (int x = 0; x < 1024; x++) pixels[size_t(y) * 1024 + x] = 0xFF000000u | uint32_t(x * y) & 0xFFFFFFu;
  GR_Image_SavePNG((folder + "/big.png").c_str(), pixels.data(), 1024, 1024);
  return folder;
}

void SpriteAdd(benchmark::State& state) {
  std::string folder = Start() ? WritePicture() : "";
  if (folder.empty()) {
    state.SkipWithError("no OpenGL context or no picture");
    return;
  }
  File_SetGameDirectory(folder.c_str());
  for (auto _ : state) {
    int s = Sprite_Add("big.png", 1, false, false, false, true, 0, 0);
    if (s < 0) state.SkipWithError("sprite_add failed");
    Sprite_Delete(s);
  }
}
BENCHMARK(SpriteAdd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
