// The resource built-ins, registered in one pass: sprites, backgrounds,
// sounds, fonts, paths, scripts, time lines, objects and rooms. The
// package's version decides which argument layout some names get.
#include "Function/Function_Resource.h"

#include <vector>

#include "Base/Console.h"
#include "Graphics/Graphics_Image.h"
#include "IO/LoadSave_Main.h"
#include "Option/Option_CommandLine.h"

void Resource_Unsupported(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Console_Printf("unsupported function\n");
  Give(Result, -1);
}

void Resource_SavePNG(const char* file, const CBitmap32& image) {
  std::vector<uint8_t> png = GR_Image_EncodePNG(image.pixels.data(), image.width, image.height);
  if (!png.empty()) LoadSave_WriteFile(file, png.data(), int64_t(png.size()));
}

void Function_Resource_Init() {
  bool v800 = Package_Version >= 800;
  Function_Resource_Sprite_Init(v800);
  Function_Resource_Background_Init(v800);
  Function_Resource_Sound_Init();
  Function_Resource_Font_Init();
  Function_Resource_Path_Init();
  Function_Resource_Script_Init();
  Function_Resource_Object_Init();
  Function_Resource_Room_Init();
}
