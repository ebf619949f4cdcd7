// The built-in constants of the game world: colours, mouse buttons, virtual
// keys and events.
#include "Code/Code_Constant.h"
#include "IO/IO_KeyNames.h"
#include "Object/Object_EventNames.h"
#include "Run/Run_Names.h"

namespace {
// The platform's constants, installed by start-up.
void (*g_PlatformConstants)() = nullptr;

struct Named {
  const char* name;
  double value;
};

// Colours are BGR: red in the low byte.
const Named COLOURS[] = {
    {"c_aqua", 0xFFFF00},   {"c_black", 0x000000},   {"c_blue", 0xFF0000},  {"c_dkgray", 0x404040},
    {"c_fuchsia", 0xFF00FF}, {"c_gray", 0x808080},   {"c_green", 0x008000}, {"c_lime", 0x00FF00},
    {"c_ltgray", 0xC0C0C0}, {"c_maroon", 0x000080},  {"c_navy", 0x800000},  {"c_olive", 0x008080},
    {"c_purple", 0x800080}, {"c_red", 0x0000FF},     {"c_silver", 0xC0C0C0}, {"c_teal", 0x808000},
    {"c_white", 0xFFFFFF},  {"c_yellow", 0x00FFFF},  {"c_orange", 0x40A0FF},
};

// Mouse buttons, in the scheme of the button queries: -1 any, 0 none.
const Named MOUSE_BUTTONS[] = {
    {"mb_any", -1}, {"mb_none", 0}, {"mb_left", 1}, {"mb_right", 2}, {"mb_middle", 3},
};

}  // namespace

void Constant_Init_World() {
  for (const Named& c : COLOURS) Constant_AddReal(c.name, c.value);
  for (const Named& b : MOUSE_BUTTONS) Constant_AddReal(b.name, b.value);
  for (const IO_KeyName& k : IO_KEY_NAMES) Constant_AddReal(k.name, k.code);
  for (const auto* names : {&Event_TypeNames(), &Event_MouseNames(), &Event_OtherNames()})
    for (const EventName& e : *names) Constant_AddReal(e.name, e.value);
  if (g_PlatformConstants) g_PlatformConstants();
}

void Run_SetPlatformConstants(void (*add)()) { g_PlatformConstants = add; }
