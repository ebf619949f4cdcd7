#include "Function/Function_Init.h"

#include "Function/Kivo_Functions.h"

void Function_Game_Init();
void Function_Math_Init();
void Function_Graphics_Init();
void Function_Action_Init();
void Function_File_Init();
void Function_Resource_Init();
void Function_Interaction_Init();
void Function_D3D_Init();
void Function_Particle_Init();
void Function_Misc_Init();
void Function_Data_Structures_Init();
void Function_Sound_Init();
void Function_DPlay_Init();
void Function_Physics_Init();

void InitCWLFunctions() {
  static bool done = false;
  if (done) return;
  done = true;
  Function_Game_Init();
  Function_Math_Init();
  Function_Graphics_Init();
  Function_Action_Init();
  Function_File_Init();
  Function_Resource_Init();
  Function_Interaction_Init();
  Function_D3D_Init();
  Function_Particle_Init();
  Function_Misc_Init();
  Function_Data_Structures_Init();
  Function_Sound_Init();
  Function_DPlay_Init();
  Function_Physics_Init();
  Kivo_Functions_Init();
}
