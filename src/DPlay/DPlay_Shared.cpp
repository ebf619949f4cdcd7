#include "DPlay/DPlay_Shared.h"

#include "Platform/MemoryManager.h"

DPlayState g_DPlay;

void DPlay_Free() {
  for (DPlayPlayer& p : g_DPlay.players) MEM_FREE(p.name);
  RValue_Free(&g_DPlay.message_value);
  g_DPlay = DPlayState();
}
