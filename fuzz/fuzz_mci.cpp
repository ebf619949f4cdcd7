// MCI command strings, as "MCI_command" hands them over from scripts, one a
// line, with replies into buffers of a length the first byte chooses. There
// is no sound device here, so no file is ever opened: the words are what is
// tested.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Sound/MCI_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t length = data[0] % 40;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string command = text.substr(start, end - start);
    std::vector<char> reply(length + 1, 'x');
    int error = MCI_SendString(command.c_str(), length ? reply.data() : nullptr, length);
    char message[64];
    MCI_GetErrorString(error, message, sizeof message);
    start = end + 1;
  }
  MCI_CloseAll();
  return 0;
}
