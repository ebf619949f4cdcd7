#include "Room/Room_Render.h"

// The renderer takes these over; headless runs draw nothing.
void RoomRender_SetView(const RoomView*, int, int) {}
void RoomRender_Clear(uint32_t) {}
void RoomRender_Background(const RoomBackground&, int, int) {}
void RoomRender_Tile(const RoomTile&) {}
void RoomRender_Instance(CInstance*) {}
