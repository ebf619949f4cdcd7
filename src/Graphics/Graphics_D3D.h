// The 3D state: 3D mode, hidden-surface removal, lighting, shading, culling,
// fog, the depth of 2D drawing, the world transform and its stack,
// projections, lights, immediate 3D primitives and shapes. Colours are
// script colours (BGR); alpha 0 to 1.
#pragma once
#include <cstdint>

struct Matrix;
struct SVertex3D;

// Switches 3D mode; when the flag changes, perspective projection and depth
// testing follow it. Always true.
bool D3D_Start(bool on);
bool D3D_IsOn();
// Perspective projection for the views begun from now on (the current view
// is set again at once).
void D3D_SetPerspective(bool on);
bool D3D_GetPerspective();
void D3D_SetHidden(bool on);     // depth test and depth writes
void D3D_SetLighting(bool on);
void D3D_SetShading(bool smooth);
void D3D_SetCulling(bool on);    // faces seen counter-clockwise are dropped
// The z at which 2D drawing is placed, clamped to -16000..16000.
void D3D_SetDepth(double depth);
float D3D_GetDepth();
void D3D_SetFog(bool on, uint32_t colour, uint16_t start, uint16_t end);

// The default projections of a view showing the room area (x, y, w, h)
// turned by angle degrees. 2D: orthographic, depths -16000 to 16000.
// Perspective: the eye on the area's centre at the distance where a
// vertical field of view of D3D_DEFAULT_FOV degrees covers the plane z = 0
// exactly with the area; near plane 1, far plane 32000. In both the eye
// looks along +z and room y grows down the screen.
constexpr float D3D_DEFAULT_FOV = 60.0f;
void D3D_ViewMatrices(float x, float y, float w, float h, float angle, bool perspective, Matrix* view,
                      Matrix* projection);
void D3D_SetProjectionOrtho(float x, float y, float w, float h, float angle);
void D3D_SetProjectionPerspective(float x, float y, float w, float h, float angle);
// Looking from a point to a point with an up direction. Without the
// extended arguments: a 45-degree vertical field of view, the aspect of
// the viewport, near plane 1, far plane 32000.
void D3D_SetProjection(const float from[3], const float to[3], const float up[3]);
void D3D_SetProjectionExt(const float from[3], const float to[3], const float up[3], float angle, float aspect,
                          float znear, float zfar);

// The world transform. Set forms replace it; add forms apply the new
// transform after the current one. Angles in degrees: a positive angle
// about z turns a drawing as image_angle does (counter-clockwise on the
// screen of a 2D view), the x and y axes by the same hand.
enum { D3D_AXIS_X, D3D_AXIS_Y, D3D_AXIS_Z };
void D3D_Transform_SetIdentity();
void D3D_Transform_Translation(bool add, float x, float y, float z);
void D3D_Transform_Scaling(bool add, float x, float y, float z);
void D3D_Transform_Rotation(bool add, int axis, float angle);
void D3D_Transform_RotationAxis(bool add, float xa, float ya, float za, float angle);
// The stack of up to 51 saved transforms (top index from -1).
constexpr int D3D_TRANSFORM_STACK = 51;
void D3D_TransformStack_Clear();
bool D3D_TransformStack_Empty();
bool D3D_TransformStack_Push();
bool D3D_TransformStack_Pop();
bool D3D_TransformStack_Top();
bool D3D_TransformStack_Discard();

// Lights 0 to 7 (other indices are ignored). A zero direction stays zero.
void Graphics_LightDefineAmbient(uint32_t colour);
void Graphics_LightDefineDirection(int index, float dx, float dy, float dz, uint32_t colour);
void Graphics_LightDefinePoint(int index, float x, float y, float z, float range, uint32_t colour);
void Graphics_LightEnable(int index, bool on);

// Immediate primitives of kinds 1 to 6 (others draw nothing), texture id or
// -1. A vertex without a colour takes the drawing colour and alpha; without
// a normal it has (0, 0, 0).
void D3D_Primitive_Begin(int kind, int texture);
void D3D_Vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v, uint32_t colour,
                float alpha);
void D3D_Vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v);  // drawing colour
void D3D_Primitive_End();
// Draws n vertices of one kind moved by (dx, dy, dz) (whole primitives
// only); a vertex whose flag in useDrawColour (when given) is set takes the
// drawing colour and alpha.
void D3D_DrawVerts(int kind, int texture, const SVertex3D* verts, int n, const uint8_t* useDrawColour, float dx,
                   float dy, float dz);

// Shapes in the drawing colour and alpha, texture coordinates 0 to hrepeat
// and 0 to vrepeat, wound so that culling keeps their outsides. Steps are
// clamped to 3..128.
void D3D_Draw_Block(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                    float vrepeat);
void D3D_Draw_Cylinder(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                       float vrepeat, bool closed, int steps);
void D3D_Draw_Cone(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                   float vrepeat, bool closed, int steps);
void D3D_Draw_Ellipsoid(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                        float vrepeat, int steps);
void D3D_Draw_Wall(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                   float vrepeat);
void D3D_Draw_Floor(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                    float vrepeat);
