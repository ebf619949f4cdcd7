// The drawing operations a room uses; they hand over to the renderer.
#pragma once
#include <cstdint>

struct RoomBackground;
struct RoomTile;
struct RoomView;
class CInstance;

// Sets the view (null: the whole room in the whole window) for what follows.
void RoomRender_SetView(const RoomView* view, int room_width, int room_height);
void RoomRender_Clear(uint32_t colour);
void RoomRender_Background(const RoomBackground& bg, int room_width, int room_height);
void RoomRender_Tile(const RoomTile& tile);
// Draws an instance's sprite as it stands (for instances without a draw event).
void RoomRender_Instance(CInstance* inst);
