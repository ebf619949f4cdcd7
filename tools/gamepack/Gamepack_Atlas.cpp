// A shelf packer: images, tallest first, are placed left to right along
// shelves; a shelf that is full starts the next one below, a page that is
// full starts the next page. Pages are as large as what they hold, at most
// kTexturePageMax square. Images lie kTPageGap pixels apart, each with its
// edge pixels copied into the pixel of the gap beside it; an image at the
// page's edge relies on the texture's clamped addressing there, so that an
// image alone on its page fills it exactly.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "Graphics/Graphics_TPage.h"
#include "gamepack/Gamepack_Image.h"

namespace {

struct Placement {
  int page = 0, x = 0, y = 0;
};

}  // namespace

bool DataFile_PackTextures(const std::vector<PackImage>& images, const std::vector<std::string>& labels,
                           GamePackage& pkg, std::vector<std::vector<uint8_t>>& storage, std::string& error) {
  std::vector<size_t> order(images.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return images[a].height > images[b].height; });

  std::vector<Placement> placed(images.size());
  std::vector<std::pair<int, int>> pageSize;  // width, height of each page
  int x = 0, y = 0, shelf = 0;
  for (size_t i : order) {
    const PackImage& image = images[i];
    if (image.width > kTexturePageMax || image.height > kTexturePageMax) {
      error = labels[i] + ": image of " + std::to_string(image.width) + "x" + std::to_string(image.height) +
              " is larger than a texture page (" + std::to_string(kTexturePageMax) + "x" +
              std::to_string(kTexturePageMax) + ")";
      return false;
    }
    if (!pageSize.empty() && x + image.width > kTexturePageMax) {
      x = 0;
      y += shelf + kTPageGap;
      shelf = 0;
    }
    if (pageSize.empty() || y + image.height > kTexturePageMax) {
      pageSize.emplace_back(0, 0);
      x = y = shelf = 0;
    }
    placed[i] = {(int)pageSize.size() - 1, x, y};
    auto& [pw, ph] = pageSize.back();
    pw = std::max(pw, x + image.width);
    ph = std::max(ph, y + image.height);
    x += image.width + kTPageGap;
    shelf = std::max(shelf, image.height);
  }

  const size_t firstTexture = pkg.textures.size();
  for (size_t p = 0; p < pageSize.size(); p++) {
    PackImage page;
    page.width = std::max(pageSize[p].first, 1);
    page.height = std::max(pageSize[p].second, 1);
    page.rgba.assign((size_t)page.width * page.height * 4, 0);
    for (size_t i = 0; i < images.size(); i++) {
      if (placed[i].page != (int)p) continue;
      const PackImage& image = images[i];
      for (int row = 0; row < image.height; row++)
        std::memcpy(&page.rgba[((size_t)(placed[i].y + row) * page.width + placed[i].x) * 4],
                    &image.rgba[(size_t)row * image.width * 4], (size_t)image.width * 4);
      TPage_Extrude(page.rgba.data(), page.width, page.height, placed[i].x, placed[i].y, image.width, image.height);
    }
    storage.emplace_back();
    if (!DataFile_EncodePNG(page, storage.back(), error)) return false;
    pkg.textures.push_back({PackageBytes(storage.back())});
  }

  for (size_t i = 0; i < images.size(); i++) {
    TexturePageEntry t;
    t.x = (int16_t)placed[i].x;
    t.y = (int16_t)placed[i].y;
    t.width = t.drawn_width = t.frame_width = (int16_t)images[i].width;
    t.height = t.drawn_height = t.frame_height = (int16_t)images[i].height;
    t.texture_id = (int16_t)(firstTexture + placed[i].page);
    pkg.tpag.push_back(t);
  }
  return true;
}
