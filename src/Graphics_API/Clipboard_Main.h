// The clipboard: the system's while the video layer runs, else one text kept
// in memory.
#pragma once
#include <string>

bool Clipboard_HasText();
std::string Clipboard_GetText();
void Clipboard_SetText(const char* text);
