// Images as the package builder handles them: decoded to RGBA, measured for
// bounding boxes and masks, and packed onto PNG texture pages.
#pragma once
#include <string>
#include <vector>

#include "DataFile/DataFile_Package.h"

struct PackImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;   // width * height * 4 bytes, row by row

  uint8_t Alpha(int x, int y) const { return rgba[((size_t)y * width + x) * 4 + 3]; }
};

// Decodes an image file (PNG, JPEG, BMP, GIF: the first frame). With
// `transparent`, an image that is wholly opaque loses every pixel of the
// colour of its bottom-left pixel (the renderer's rule for images it loads
// at run time). False with a message on failure.
bool DataFile_DecodeImage(const std::string& path, bool transparent, PackImage& out, std::string& error);
// A width x height image of one colour given as "#RRGGBB" or "#RRGGBBAA",
// with the same transparent rule. False with a message for a bad colour or
// size.
bool DataFile_SolidImage(int width, int height, const std::string& colour, bool transparent, PackImage& out,
                         std::string& error);
// Parses "#RRGGBB" or "#RRGGBBAA" into its bytes; false when malformed.
bool DataFile_ParseColour(const std::string& text, uint8_t rgba[4], bool& hasAlpha);

// The smallest box holding every pixel with alpha above 0 in any of the
// images (all of one size); the whole image when none has such a pixel.
void DataFile_AutoBox(const std::vector<const PackImage*>& frames, int32_t box[4]);
// A collision mask: 1 where the pixel's alpha is above 0.
PackageMask DataFile_MaskOf(const PackImage& image);
// The union of the masks of several images of one size.
PackageMask DataFile_SharedMask(const std::vector<const PackImage*>& frames);

// PNG encoding of an RGBA image; false with a message on failure.
bool DataFile_EncodePNG(const PackImage& image, std::vector<uint8_t>& png, std::string& error);

// Largest texture page side, in pixels.
constexpr int kTexturePageMax = 2048;

// Packs the images onto texture pages with a shelf packer: entry i of the
// package's TPAG table (appended from its current end) describes image i.
// The PNG of every page is kept in `storage`, which must outlive the package.
// `labels[i]` names image i in messages. False with a message when an image
// is larger than a page or a page cannot be encoded.
bool DataFile_PackTextures(const std::vector<PackImage>& images, const std::vector<std::string>& labels,
                           GamePackage& pkg, std::vector<std::vector<uint8_t>>& storage, std::string& error);
