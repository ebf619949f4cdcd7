// The interaction built-ins kept outside Function_Interaction.cpp: synthesised
// keys, key and mouse state and the input queue (Function_Interaction_Input);
// the lock keys and joysticks over SDL2 and the open and save dialogs over GTK
// (Linux/Function_InteractionM). Function_Interaction_Init registers them.
#pragma once
#include <string>

#include "Base/RValue.h"

class CInstance;

#define INTERACTION_HANDLER(name) void name(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg)
INTERACTION_HANDLER(F_KeyboardGetNumlock);
INTERACTION_HANDLER(F_KeyboardSetNumlock);
INTERACTION_HANDLER(F_KeyboardKeyPress);
INTERACTION_HANDLER(F_KeyboardKeyRelease);
INTERACTION_HANDLER(F_KeyboardCheck);
INTERACTION_HANDLER(F_KeyboardCheckPressed);
INTERACTION_HANDLER(F_KeyboardCheckReleased);
INTERACTION_HANDLER(F_KeyboardCheckDirect);
INTERACTION_HANDLER(F_KeyboardClear);
INTERACTION_HANDLER(F_KeyboardWait);
INTERACTION_HANDLER(F_MouseCheckButton);
INTERACTION_HANDLER(F_MouseCheckButtonPressed);
INTERACTION_HANDLER(F_MouseCheckButtonReleased);
INTERACTION_HANDLER(F_MouseWheelUp);
INTERACTION_HANDLER(F_MouseWheelDown);
INTERACTION_HANDLER(F_MouseClear);
INTERACTION_HANDLER(F_MouseWait);
INTERACTION_HANDLER(F_IOClear);
INTERACTION_HANDLER(F_IOHandle);
INTERACTION_HANDLER(F_JoystickExists);
INTERACTION_HANDLER(F_JoystickDirection);
INTERACTION_HANDLER(F_JoystickName);
INTERACTION_HANDLER(F_JoystickAxes);
INTERACTION_HANDLER(F_JoystickButtons);
INTERACTION_HANDLER(F_JoystickHasPov);
INTERACTION_HANDLER(F_JoystickCheckButton);
INTERACTION_HANDLER(F_JoystickXPos);
INTERACTION_HANDLER(F_JoystickYPos);
INTERACTION_HANDLER(F_JoystickZPos);
INTERACTION_HANDLER(F_JoystickRPos);
INTERACTION_HANDLER(F_JoystickUPos);
INTERACTION_HANDLER(F_JoystickVPos);
INTERACTION_HANDLER(F_JoystickPov);
INTERACTION_HANDLER(F_GetOpenFilename);
INTERACTION_HANDLER(F_GetSaveFilename);
INTERACTION_HANDLER(F_GetOpenFilenameExt);
INTERACTION_HANDLER(F_GetSaveFilenameExt);
#undef INTERACTION_HANDLER

// A null (empty) string as a built-in's result.
void Interaction_GiveNullString(RValue& result);

// The open or save dialog (filter as "description|pattern|..." pairs; folder
// and title may be null). True with the chosen full path; false when it was
// cancelled or cannot be shown.
bool File_OpenDialog(const char* filter, const char* name, const char* folder, const char* title, std::string* path);
bool File_SaveDialog(const char* filter, const char* name, const char* folder, const char* title, std::string* path);
// The save dialog's default extension: the text after the first "." behind
// the first "|", up to the next "|" or ";" ("txt" for "Text|*.txt|All|*.*").
std::string File_DefaultExtension(const char* filter);
