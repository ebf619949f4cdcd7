// What the world needs of a sprite to give an instance its shape: the size,
// origin, bounding box, frame count and collision mask.
#pragma once

struct SpriteShape {
  int width = 0, height = 0;
  int xorigin = 0, yorigin = 0;
  int frames = 1;
  int left = 0, top = 0, right = -1, bottom = -1;  // bounding box in sprite pixels
  bool precise = false;                            // has per-pixel masks
};

// The shape of a sprite; false when there is no such sprite.
bool Shape_Get(int sprite, SpriteShape* out);
// Whether the sprite's mask of that frame is set at a pixel of the sprite
// (outside the sprite: false; without masks: inside the bounding box).
bool Shape_Pixel(int sprite, int frame, int px, int py);
