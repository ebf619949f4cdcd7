#include "Debug/Debug_Overlay.h"

#include <cmath>
#include <iterator>
#include <string>

#include "Debug/Debug_Font.h"
#include "Debug/Debug_Profiler.h"
#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "IO/IO_Main.h"
#include "Option/Option_CommandLine.h"
#include "Run/Run_Main.h"

namespace {

enum : unsigned { FLAG_PANEL = 1, FLAG_FPS = 2, FLAG_SWITCH = 8 };

// Top-left, centre, top-right, centre, bottom-right, centre, bottom-left.
const GestureCell kOpenPanel[] = {{0, 0, 1}, {5, 5, 2}, {9, 0, 1}, {5, 5, 2}, {9, 9, 1}, {5, 5, 2}, {0, 9, 1}};
// Each corner twice, clockwise from the top-left.
const GestureCell kShowSwitch[] = {{0, 0, 1}, {0, 0, 1}, {9, 0, 1}, {9, 0, 1},
                                   {9, 9, 1}, {9, 9, 1}, {0, 9, 1}, {0, 9, 1}};

constexpr uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;
constexpr float kBarTop = 10, kBarBottom = 20, kBarDepth = 0.5f;
constexpr int kPanelHeight = 100;

struct Overlay {
  float mouseX = 0, mouseY = 0;
  int gesture = 0;
  bool gameLoaded = false;
  std::string gameName;
  int major = 0, minor = 0;
};
Overlay g_Overlay;

int Width() { return Graphics_FrameCounters.overlayWidth; }
int Height() { return Graphics_FrameCounters.overlayHeight; }

void Quad(SVertex* q, float x0, float y0, float x1, float y1, float z, uint32_t argb) {
  q[0] = {x0, y0, z, argb, 0, 0};
  q[1] = {x1, y0, z, argb, 0, 0};
  q[2] = {x0, y1, z, argb, 0, 0};
  q[3] = q[1];
  q[4] = {x1, y1, z, argb, 0, 0};
  q[5] = q[2];
}

// One quad per closed section, from its start to its end on the time scale.
void DrawBar() {
  const ProfilerMarker* m = Profiler_Markers();
  int n = Profiler_MarkerCount(), closed = 0;
  for (int i = 0; i < n; i++) closed += m[i].end >= 0;
  if (closed == 0) return;
  SVertex* v = Batch_AllocVerts(PR_TRIANGLELIST, -1, VERTEX_SIZE_2D, 6 * closed);
  if (!v) return;
  const float perMicro = float(Width()) / PROFILER_SCALE;
  const int64_t origin = Profiler_FrameStart();
  for (int i = 0; i < n; i++) {
    if (m[i].end < 0) continue;
    Quad(v, float(m[i].start - origin) * perMicro, kBarTop, float(m[i].end - origin) * perMicro, kBarBottom, kBarDepth,
         Colour_SwapRB(m[i].colour));
    v += 6;
  }
}

void DrawPanel() {
  const float w = float(Width());
  if (SVertex* v = Batch_AllocVerts(PR_TRIANGLESTRIP, -1, VERTEX_SIZE_2D, 4)) {
    const uint32_t dark = 0xC0000000u;
    v[0] = {0, 0, 0, dark, 0, 0};
    v[1] = {w, 0, 0, dark, 0, 0};
    v[2] = {0, float(kPanelHeight), 0, dark, 0, 0};
    v[3] = {w, float(kPanelHeight), 0, dark, 0, 0};
  }
  DebugFont_PrintfCentred(40, Width(), kWhite, "Kivo Games Runner v%d.%d(%d)[r%s]", 1, 2, 0, "0");
  const Overlay& o = g_Overlay;
  if (o.gameLoaded) DebugFont_PrintfCentred(54, Width(), kWhite, "Game : %s v%d.%d", o.gameName.c_str(), o.major, o.minor);
  DebugFont_PrintfPlain(w - 80, 80, kWhite, "CLOSE");
  if (Debug_Flags & FLAG_SWITCH) DebugFont_PrintfPlain(10, 10, kWhite, (Debug_Flags & FLAG_FPS) ? "FPS : ON" : "FPS : OFF");
}

}  // namespace

void DebugOverlay_SetGame(const char* name, int major, int minor) {
  Overlay& o = g_Overlay;
  o.gameLoaded = true;
  o.gameName = name ? name : "";
  o.major = major;
  o.minor = minor;
}

bool DebugOverlay_CornerGesture(int* counter, const GestureCell* pattern, int length) {
  const Overlay& o = g_Overlay;
  if (Width() <= 0 || Height() <= 0) return false;
  float column = std::floor(o.mouseX / float(Width()) * 10), row = std::floor(o.mouseY / float(Height()) * 10);
  if (!(column >= 0 && column <= 9 && row >= 0 && row <= 9)) return false;
  // The counter is shared by both patterns; one left from the other starts over.
  if (*counter < 0 || *counter >= length) *counter = 0;
  const GestureCell& cell = pattern[*counter];
  if (std::fabs(column - float(cell.column)) > float(cell.tolerance) ||
      std::fabs(row - float(cell.row)) > float(cell.tolerance)) {
    *counter = 0;
    return false;
  }
  if (++*counter < length) return false;
  *counter = 0;
  return true;
}

void DebugOverlay_HandleMouse(float x, float y, bool released) {
  Overlay& o = g_Overlay;
  o.mouseX = x;
  o.mouseY = y;
  if (!released) return;
  if (!(Debug_Flags & FLAG_PANEL)) {
    if (DebugOverlay_CornerGesture(&o.gesture, kOpenPanel, int(std::size(kOpenPanel)))) Debug_Flags |= FLAG_PANEL;
    return;
  }
  const float w = float(Width());
  if (x > w - 80 && x < w - 16 && y >= 81 && y <= 95) {
    Debug_Flags &= ~unsigned(FLAG_PANEL | FLAG_SWITCH);
    o.gesture = 0;
  } else if (Debug_Flags & FLAG_SWITCH) {
    if (x >= 11 && x <= 73 && y >= 11 && y <= 25) Debug_Flags ^= FLAG_FPS;
  } else if (DebugOverlay_CornerGesture(&o.gesture, kShowSwitch, int(std::size(kShowSwitch)))) {
    Debug_Flags |= FLAG_SWITCH;
  }
}

void DebugOverlay_Draw() {
  float fps = Profiler_CloseFrame();
  // The window's mouse in the overlay's display space.
  int cw = Window_GetClientWidth(), ch = Window_GetClientHeight();
  DebugOverlay_HandleMouse(float(IO_MousePositionX[0]) * float(Width()) / float(cw > 0 ? cw : 1),
                           float(IO_MousePositionY[0]) * float(Height()) / float(ch > 0 ? ch : 1),
                           IO_Mouse_CheckReleased(1, 0) != 0);
  Graphics_Set2DView();
  Graphics_FrameCounters.fps = fps;
  if (Debug_Flags & FLAG_FPS) {
    if (!Run_Paused) DrawBar();
    DebugFont_PrintfOutlined(0, 0, kBlack, kWhite, "%dfps\t\t(%d)(%d)", int(fps), Graphics_FrameCounters.textureSwaps,
                             Graphics_FrameCounters.batches);
  }
  if (Debug_Flags & FLAG_PANEL) DrawPanel();
  Graphics_Set2DViewPort();
  Profiler_EndFrame();
}
