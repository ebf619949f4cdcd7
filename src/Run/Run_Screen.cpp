#include "Run/Run_Screen.h"

#include "Base/Gtk_Start.h"
#include "Debug/Debug_Overlay.h"
#include "Debug/Debug_Profiler.h"
#include "Graphics_API/Display_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "IO/IO_Main.h"
#include "Run/Run_Main.h"

void Run_ProcessMessages() {
  Window_ProcessMessages();
  IO_Inject_Flush();
  Gtk_Iterate();  // the open login box, once GTK runs
  Run_WindowActive = Window_IsActive();
  // The window's close request stops the main loop.
  if (Window_QuitRequested()) {
    Window_ClearQuit();
    Run_Running = 0;
  }
}

void Run_ModalPump() {
  Window_ProcessMessages();
  IO_Clear();  // the box has the player's attention; a close request stays
}

void Run_BeginScene() {
  Graphics_ResetIfRequested();  // a display change asked for a device reset
  if (GR_D3D_IsReady()) GR_D3D_Start_Frame();
  Profiler_Total();
}

void Run_EndScene(bool present) {
  if (!GR_D3D_IsReady()) return;
  DebugOverlay_Draw();
  if (present) GR_D3D_Finish_Frame();
  else Batch_Flush();
}
