// Model text through the reader; what it accepts is written out and read
// again, and built into vertices (no device: nothing is drawn).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Graphics/Graphics_D3D_Model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<D3DModelCommand> commands;
  int line = 0;
  std::string reason;
  if (!D3D_Model_ParseText(reinterpret_cast<const char*>(data), size, &commands, &line, &reason)) return 0;
  std::string text = D3D_Model_ToText(commands);
  std::vector<D3DModelCommand> again;
  if (!D3D_Model_ParseText(text.data(), text.size(), &again, &line, &reason) || again.size() != commands.size())
    abort();
  // Shapes can be large: build only small models.
  if (commands.size() > 64) return 0;
  int id = D3D_Model_Create();
  for (const D3DModelCommand& c : commands) D3D_Model_Add(id, c);
  D3D_Model_Draw(id, 0, 0, 0, -1);
  D3D_Model_Destroy(id);
  return 0;
}
