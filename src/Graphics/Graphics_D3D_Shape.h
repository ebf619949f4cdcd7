// The geometry of the 3D shapes: triangle lists with normals and texture
// coordinates, colours left for the drawing to fill. Shapes are given by two
// opposite corners; their sides are upright along z. Texture coordinates
// run from 0 to hrepeat around or across a shape and from 0 at z1 (or y1 on
// a floor) to vrepeat. Each triangle is wound clockwise as seen from the
// outside (the direction of its normal), so that back-face culling keeps
// the outside.
#pragma once
#include <vector>

#include "Graphics_API/Graphics_Device.h"

struct D3DBox {
  float x1, y1, z1, x2, y2, z2;
};

// Steps outside 3..128 are brought inside, so a huge or negative count can
// neither stall nor break the drawing.
int D3D_Shape_ClampSteps(int steps);

void D3D_Shape_Block(std::vector<SVertex3D>& out, const D3DBox& b, float hrepeat, float vrepeat);
// An elliptic cylinder inside the box, with caps when closed.
void D3D_Shape_Cylinder(std::vector<SVertex3D>& out, const D3DBox& b, float hrepeat, float vrepeat, bool closed,
                        int steps);
// Base ellipse at z1, tip above its centre at z2; the base capped when closed.
void D3D_Shape_Cone(std::vector<SVertex3D>& out, const D3DBox& b, float hrepeat, float vrepeat, bool closed,
                    int steps);
// steps around, steps / 2 bands from pole to pole.
void D3D_Shape_Ellipsoid(std::vector<SVertex3D>& out, const D3DBox& b, float hrepeat, float vrepeat, int steps);
// The upright rectangle from (x1, y1) to (x2, y2), z1 to z2.
void D3D_Shape_Wall(std::vector<SVertex3D>& out, const D3DBox& b, float hrepeat, float vrepeat);
// The rectangle over x1..x2 and y1..y2, at z1 along y1 and z2 along y2.
void D3D_Shape_Floor(std::vector<SVertex3D>& out, const D3DBox& b, float hrepeat, float vrepeat);
