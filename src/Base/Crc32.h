// CRC-32 as the runner uses it: reflected, polynomial 0xEDB88320, started at
// 0xFFFFFFFF and not inverted at the end (so empty input gives 0xFFFFFFFF).
#pragma once
#include <cstddef>
#include <cstdint>

uint32_t Crc32_Buffer(const void* bytes, size_t length);
// Over the text's bytes without the terminator; none counts as empty.
uint32_t Crc32_String(const char* text);
