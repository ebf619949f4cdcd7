#include "Room/Room_Render.h"

#include "Background/Background_Main.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "Object/Instance_Class.h"
#include "Room/Room_Class.h"
#include "Sprite/Sprite_Main.h"

namespace {
// Without a window and its device nothing is drawn.
bool CanDraw() { return GR_D3D_IsReady() && Window_Handle() != nullptr; }
}  // namespace

void RoomRender_SetView(const RoomView* view, int room_width, int room_height) {
  if (!CanDraw()) return;
  if (view) {
    Graphics_SetViewPortAndView(view->xport, view->yport, view->wport, view->hport, view->xview, view->yview,
                                view->wview, view->hview, view->angle);
  } else {
    Graphics_SetViewPortAndView(0, 0, GR_Window_GetWidth(), GR_Window_GetHeight(), 0, 0,
                                static_cast<float>(room_width), static_cast<float>(room_height), 0);
  }
}

void RoomRender_Clear(uint32_t colour) {
  if (CanDraw()) GR_Draw_Clear(colour);
}

void RoomRender_Background(const RoomBackground& bg, int room_width, int room_height) {
  const CBackground* b = Background_Data(bg.index);
  if (!b || !CanDraw()) return;
  if (bg.stretch) {
    b->DrawStretched(bg.x, bg.y, static_cast<float>(room_width), static_cast<float>(room_height), bg.blend, bg.alpha);
  } else {
    b->DrawTiled(bg.x, bg.y, bg.xscale, bg.yscale, bg.htiled, bg.vtiled, 0, 0, static_cast<float>(room_width),
                 static_cast<float>(room_height), bg.blend, bg.alpha);
  }
}

void RoomRender_Tile(const RoomTile& t) {
  const CBackground* b = Background_Data(t.background);
  if (b && CanDraw())
    b->DrawPart(static_cast<float>(t.left), static_cast<float>(t.top), static_cast<float>(t.width),
                static_cast<float>(t.height), t.x, t.y, t.xscale, t.yscale, t.blend, t.alpha);
}

void RoomRender_Instance(CInstance* inst) {
  const CSprite* s = Sprite_Data(inst->sprite_index);
  if (s && CanDraw())
    s->Draw(static_cast<int>(inst->image_index), inst->x, inst->y, inst->image_xscale, inst->image_yscale,
            inst->image_angle, inst->image_blend, inst->image_alpha);
}
