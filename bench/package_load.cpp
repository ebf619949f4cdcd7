// Reading and writing a large package: 2,000 objects with events, 100 rooms
// of 200 instances and 100 tiles, 500 precise 32x32 sprites of 4 frames.
#include <benchmark/benchmark.h>

#include "DataFile/DataFile_Package.h"
#include "gamepack/Gamepack_Write.h"

namespace {

GamePackage& LargePackage() {
  static GamePackage p;
  if (!p.objects.empty()) return p;
  p.general.name = "Large";
  p.tpag.resize(2000);
  static const uint8_t png[] = {0x89, 'P', 'N', 'G'};
  p.textures = {{PackageBytes(png)}};
  for (int i = 0; i < 500; i++) {
    PackageSprite s;
    s.exists = true, s.name = "spr_" + std::to_string(i), s.width = s.height = 32, s.precise = true;
    for (int f = 0; f < 4; f++) {
      s.frames.push_back(i * 4 + f);
      s.masks.emplace_back(32 * 32, f & 1);
    }
    p.sprites.push_back(std::move(s));
  }
  for (int i = 0; i < 2000; i++) {
    PackageObject o;
    o.exists = true, o.name = "obj_" + std::to_string(i), o.sprite = i % 500;
    o.events = {{0, 0, "speed = " + std::to_string(i) + ";"}, {3, 0, "x += 1; y += 1;"}, {8, 0, "draw_self();"}};
    p.objects.push_back(std::move(o));
  }
  for (int i = 0; i < 100; i++) {
    PackageRoom r;
    r.exists = true, r.name = "rm_" + std::to_string(i);
    for (int n = 0; n < 200; n++) r.instances.push_back({(float)n, (float)i, n % 2000, 100001 + i * 200 + n, ""});
    for (int n = 0; n < 100; n++) {
      PackageRoomTile t;
      t.background = 0, t.id = 10000001 + i * 100 + n;
      r.tiles.push_back(t);
    }
    p.rooms.push_back(std::move(r));
    p.general.room_order.push_back(i);
  }
  PackageBackground bg;
  bg.exists = true, bg.name = "bg";
  p.backgrounds = {bg};
  return p;
}

void BM_PackageWrite(benchmark::State& state) {
  GamePackage& p = LargePackage();
  size_t bytes = 0;
  for (auto _ : state) bytes = DataFile_WritePackage(p).size();
  state.counters["package_bytes"] = (double)bytes;
}
BENCHMARK(BM_PackageWrite)->Unit(benchmark::kMillisecond);

void BM_PackageLoad(benchmark::State& state) {
  std::vector<uint8_t> bytes = DataFile_WritePackage(LargePackage());
  for (auto _ : state) {
    GamePackage loaded;
    std::string error;
    if (!DataFile_LoadPackageFromMemory(bytes, loaded, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(loaded.rooms.size());
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes.size());
}
BENCHMARK(BM_PackageLoad)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
