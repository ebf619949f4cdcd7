// Display, window and screen built-ins.
#include <cmath>
#include <memory>
#include <vector>

#include "Base/Maths_Matrix.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Function/Function_Graphics.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Display_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "IO/IO_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Mouse.h"

void Graphics_ScreenSave(const RValue& name, int x, int y, int w, int h) {
  const char* file = RValue_Text(name);
  if (!*file) {
    Error_Show_Action("Trying to save screen to empty image file name.", false);
    return;
  }
  int bufw = GR_Window_GetWidth(), bufh = GR_Window_GetHeight();
  if (!Graphics_ClipRect(bufw, bufh, &x, &y, &w, &h)) return;
  Batch_Flush();
  std::unique_ptr<CBitmap32> bitmap(Graphics_GrabScreenRect(bufw, bufh, x, y, w, h));
  Graphics_WriteBMP(file, bitmap.get());
}

void Graphics_ScreenSave(const RValue& name) {
  Graphics_ScreenSave(name, 0, 0, GR_Window_GetWidth(), GR_Window_GetHeight());
}

namespace {

void F_DisplayGetWidth(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Display_GetWidth()); }
void F_DisplayGetHeight(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Display_GetHeight()); }
void F_DisplayGetColorDepth(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Display_GetColourDepth()); }
void F_DisplayGetFrequency(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Display_GetFrequency()); }
void F_DisplayGetOrientation(RValue&, CInstance*, CInstance*, int, const RValue*) {}

// A mode change answers whether it succeeded; the device is reset either way.
void ModeChanged(RValue& r, bool ok) {
  Give(r, ok ? 1 : 0);
  Display_RequestReset();
}

void F_DisplaySetSize(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  ModeChanged(r, Display_SetSize(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])));
}

void F_DisplaySetColorDepth(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  ModeChanged(r, Display_SetColourDepth(RValue_RoundInt(arg[0])));
}

void F_DisplaySetFrequency(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  ModeChanged(r, Display_SetFrequency(RValue_RoundInt(arg[0])));
}

void F_DisplaySetAll(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  ModeChanged(r, Display_SetMode(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                                 RValue_RoundInt(arg[3])));
}

void F_DisplayTestAll(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  bool ok = Display_TestMode(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                             RValue_RoundInt(arg[3]));
  Give(r, ok ? 1 : 0);
}

// display_reset(aa [, vsync]): vertical sync is on only when the second
// argument is given and is 1 or more. The frame loop carries the reset out.
void F_DisplayReset(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  Display_SetAntialias(RValue_TruncInt(arg[0]) & 0xFF);
  Display_SetVSync(argc >= 2 && RValue_TruncInt(arg[1]) >= 1);
  Display_RequestReset();
}

void F_DisplayMouseGetX(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Display_GetMouseX()); }
void F_DisplayMouseGetY(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Display_GetMouseY()); }
void F_DisplayMouseSet(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Display_SetMouse(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]));
}

// Window settings this platform keeps out of the game's hands.

void F_WindowGetVisible(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetVisible() ? 1 : 0); }
void F_WindowSetFullscreen(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  GR_Window_SetFullScreen(RValue_IsTrue(arg[0]));
}
void F_WindowGetFullscreen(RValue& r, CInstance*, CInstance*, int, const RValue*) {
  Give(r, GR_Window_GetFullScreen() ? 1 : 0);
}
void F_WindowSetCaption(RValue&, CInstance*, CInstance*, int, const RValue* arg) { Window_SetCaption(RValue_Text(arg[0])); }
void F_WindowGetCaption(RValue& r, CInstance*, CInstance*, int, const RValue*) {
  const char* caption = Window_GetCaption();
  RValue_SetString(&r, caption ? caption : "");
}
void F_WindowSetCursor(RValue&, CInstance*, CInstance*, int, const RValue* arg) { Window_SetCursor(RValue_RoundInt(arg[0])); }
void F_WindowGetCursor(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetCursor()); }
void F_WindowSetColor(RValue&, CInstance*, CInstance*, int, const RValue* arg) { Window_SetColour(Arg_Colour(arg[0])); }
void F_WindowGetColor(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetColour() & 0xFFFFFF); }
void F_WindowSetPosition(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Window_SetPosition(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]));
}
void F_WindowSetSize(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Window_SetSize(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]));
}
void F_WindowSetRectangle(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Window_SetRectangle(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                      RValue_RoundInt(arg[3]));
}
void F_WindowCenter(RValue&, CInstance*, CInstance*, int, const RValue*) { Window_Center(); }
void F_WindowGetX(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetX()); }
void F_WindowGetY(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetY()); }
void F_WindowGetWidth(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetClientWidth()); }
void F_WindowGetHeight(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetClientHeight()); }
void F_WindowMouseGetX(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetMouseX()); }
void F_WindowMouseGetY(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, Window_GetMouseY()); }
void F_WindowMouseSet(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Window_SetMouse(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]));
}

// The view of the current room with that number, null when views are off or
// there is no such view.
const RoomView* ViewOf(int view) {
  if (!g_RunRoom || !g_RunRoom->views_enabled || view < 0 || view >= ROOM_VIEWS) return nullptr;
  const RoomView* rv = &g_RunRoom->views[view];
  return rv->wport > 0 && rv->hport > 0 && rv->wview != 0 && rv->hview != 0 ? rv : nullptr;
}

// (dx, dy) from the view's corner, turned about the view's centre as the
// renderer turns a view of that angle.
void TurnAboutCentre(const RoomView& v, float degrees, double* dx, double* dy) {
  float cx = v.wview / 2, cy = v.hview / 2;
  Vector3 t = Vector3_TransformNormal({float(*dx) - cx, float(*dy) - cy, 0},
                                      Matrix_RotationZ(degrees * float(M_PI) / 180.0f));
  *dx = double(t.x) + cx, *dy = double(t.y) + cy;
}

// A room point in the window through a view: the view's rectangle, turned
// about its centre by its angle, fills the port. Worked from the corners in
// double precision, so that whole pixels of an unscaled view map exactly.
void ViewRoomToWindow(const RoomView& v, double x, double y, double* wx, double* wy) {
  double dx = x - v.xview, dy = y - v.yview;
  if (v.angle != 0) TurnAboutCentre(v, v.angle, &dx, &dy);
  *wx = v.xport + dx * v.wport / v.wview;
  *wy = v.yport + dy * v.hport / v.hview;
}

void ViewWindowToRoom(const RoomView& v, double wx, double wy, double* x, double* y) {
  double dx = (wx - v.xport) * v.wview / v.wport, dy = (wy - v.yport) * v.hview / v.hport;
  if (v.angle != 0) TurnAboutCentre(v, -v.angle, &dx, &dy);
  *x = v.xview + dx;
  *y = v.yview + dy;
}

// The mouse in room coordinates through one view; through the views as the
// step sees them when there is no such view.
double ViewMouse(int view, bool vertical) {
  const RoomView* v = ViewOf(view);
  if (!v) return vertical ? Run_MouseRoomY() : Run_MouseRoomX();
  double x, y;
  ViewWindowToRoom(*v, IO_MousePositionX[0], IO_MousePositionY[0], &x, &y);
  return vertical ? y : x;
}

void F_WindowViewMouseGetX(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, ViewMouse(RValue_RoundInt(arg[0]), false));
}
void F_WindowViewMouseGetY(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, ViewMouse(RValue_RoundInt(arg[0]), true));
}
// The same through the first view.
void F_WindowViewsMouseGetX(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, ViewMouse(0, false)); }
void F_WindowViewsMouseGetY(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, ViewMouse(0, true)); }

void F_ScreenSave(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Graphics_ScreenSave(arg[0]);
}

void F_ScreenSavePart(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Graphics_ScreenSave(arg[0], RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]),
             RValue_RoundInt(arg[4]));
}

// A room point in window coordinates: through the view being drawn when
// views are on, else the room stretched over the back buffer.
void RoomToWindow(double x, double y, double* wx, double* wy) {
  *wx = x, *wy = y;
  if (!g_RunRoom) return;
  if (g_RunRoom->views_enabled) {
    if (const RoomView* v = ViewOf(g_ViewCurrent)) ViewRoomToWindow(*v, x, y, wx, wy);
    return;
  }
  *wx = x * GR_Window_GetWidth() / g_RunRoom->width;
  *wy = y * GR_Window_GetHeight() / g_RunRoom->height;
}

void F_DrawGetPixel(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  double wx, wy;
  RoomToWindow(RValue_Single(arg[0]), RValue_Single(arg[1]), &wx, &wy);
  Batch_Flush();
  Give(r, GR_GetPixel(Convert_TruncInt(std::floor(wx)), Convert_TruncInt(std::floor(wy))));
}
}  // namespace

void Function_Graphics_Display_Init() {
  Function_Add("display_get_width", F_DisplayGetWidth, 0);
  Function_Add("display_get_height", F_DisplayGetHeight, 0);
  Function_Add("display_get_colordepth", F_DisplayGetColorDepth, 0);
  Function_Add("display_get_frequency", F_DisplayGetFrequency, 0);
  Function_Add("display_get_orientation", F_DisplayGetOrientation, 0);
  Function_Add("display_set_size", F_DisplaySetSize, 2);
  Function_Add("display_set_colordepth", F_DisplaySetColorDepth, 1);
  Function_Add("display_set_frequency", F_DisplaySetFrequency, 1);
  Function_Add("display_set_all", F_DisplaySetAll, 4);
  Function_Add("display_test_all", F_DisplayTestAll, 4);
  Function_Add("display_reset", F_DisplayReset, -1);
  Function_Add("display_mouse_get_x", F_DisplayMouseGetX, 0);
  Function_Add("display_mouse_get_y", F_DisplayMouseGetY, 0);
  Function_Add("display_mouse_set", F_DisplayMouseSet, 2);

  Function_Add("window_set_visible", F_Nothing, 1);
  Function_Add("window_set_showborder", F_Nothing, 1);
  Function_Add("window_set_showicons", F_Nothing, 1);
  Function_Add("window_set_stayontop", F_Nothing, 1);
  Function_Add("window_set_sizeable", F_Nothing, 1);
  Function_Add("window_get_showborder", F_Nothing, 0);
  Function_Add("window_get_showicons", F_Nothing, 0);
  Function_Add("window_get_stayontop", F_Nothing, 0);
  Function_Add("window_get_sizeable", F_Nothing, 0);
  Function_Add("window_default", F_Nothing, 0);
  Function_Add("window_get_visible", F_WindowGetVisible, 0);
  Function_Add("window_set_fullscreen", F_WindowSetFullscreen, 1);
  Function_Add("window_get_fullscreen", F_WindowGetFullscreen, 0);
  Function_Add("window_set_caption", F_WindowSetCaption, 1);
  Function_Add("window_get_caption", F_WindowGetCaption, 0);
  Function_Add("window_set_cursor", F_WindowSetCursor, 1);
  Function_Add("window_get_cursor", F_WindowGetCursor, 0);
  Function_Add("window_set_color", F_WindowSetColor, 1);
  Function_Add("window_get_color", F_WindowGetColor, 0);
  Function_Add("window_set_position", F_WindowSetPosition, 2);
  Function_Add("window_set_size", F_WindowSetSize, 2);
  Function_Add("window_set_rectangle", F_WindowSetRectangle, 4);
  Function_Add("window_center", F_WindowCenter, 0);
  Function_Add("window_get_x", F_WindowGetX, 0);
  Function_Add("window_get_y", F_WindowGetY, 0);
  Function_Add("window_get_width", F_WindowGetWidth, 0);
  Function_Add("window_get_height", F_WindowGetHeight, 0);
  Function_Add("window_mouse_get_x", F_WindowMouseGetX, 0);
  Function_Add("window_mouse_get_y", F_WindowMouseGetY, 0);
  Function_Add("window_mouse_set", F_WindowMouseSet, 2);
  Function_Add("window_view_mouse_get_x", F_WindowViewMouseGetX, 1);
  Function_Add("window_view_mouse_get_y", F_WindowViewMouseGetY, 1);
  Function_Add("window_views_mouse_get_x", F_WindowViewsMouseGetX, 0);
  Function_Add("window_views_mouse_get_y", F_WindowViewsMouseGetY, 0);
  Function_Add("window_view_mouse_set", F_Nothing, 3);
  Function_Add("window_views_mouse_set", F_Nothing, 2);

  Function_Add("screen_save", F_ScreenSave, 1);
  Function_Add("screen_save_part", F_ScreenSavePart, 5);
  Function_Add("draw_getpixel", F_DrawGetPixel, 2);
}
