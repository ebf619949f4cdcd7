// The image decoder's own code, compiled apart: the sanitizer build leaves
// its harmless null-pointer copies of zero bytes (an empty PNG data chunk)
// unreported, while every other file keeps the check.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#include "stb_image.h"
