// The 3D state over the render device. The device keeps the render states,
// the world transform and the lights; this layer keeps what scripts switch
// (3D mode, perspective, the 2D depth) and the transform stack.
#include "Graphics/Graphics_D3D.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Base/Maths_Matrix.h"
#include "Graphics/Graphics_D3D_Shape.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"

namespace {

struct D3DState {
  bool on = false;
  bool perspective = false;
  float depth = 0;
  Matrix stack[D3D_TRANSFORM_STACK];
  int top = -1;
  DeviceLight lights[LIGHT_COUNT];
};
D3DState g_D3D;

struct Primitive3D {
  int kind = 0;
  int texture = -1;
  std::vector<SVertex3D> verts;
};
Primitive3D g_Primitive;

constexpr float kDegrees = float(M_PI) / 180.0f;
constexpr float kFar = 32000.0f;

// Re-applies the view so that a change of projection kind shows at once.
void ReapplyView() {
  float x, y, w, h, angle;
  Graphics_GetView(&x, &y, &w, &h, &angle);
  Graphics_SetView(x, y, w, h, angle);
}

void SetWorld(bool add, const Matrix& m) {
  Graphics_SetTransform(TRANSFORM_WORLD,
                        add ? Matrix_Multiply(Graphics_GetTransform(TRANSFORM_WORLD), m) : m);
}

bool ValidLight(int index) { return index >= 0 && index < LIGHT_COUNT; }

void SetLight(int index, const DeviceLight& light) {
  if (!ValidLight(index)) return;
  bool enabled = g_D3D.lights[index].enabled;
  g_D3D.lights[index] = light;
  g_D3D.lights[index].enabled = enabled;
  Graphics_SetLight(index, g_D3D.lights[index]);
}

uint32_t DrawColour() { return GR_ColourToARGB(GR_GetColor(), GR_GetAlpha()); }

// Keeps only whole primitives of the kind.
int WholeCount(int kind, int n) {
  if (kind == PR_LINELIST) return n - n % 2;
  if (kind == PR_TRIANGLELIST) return n - n % 3;
  return n;
}

std::vector<SVertex3D>& Scratch() {
  static std::vector<SVertex3D> scratch;
  scratch.clear();
  return scratch;
}

void DrawShape(std::vector<SVertex3D>& verts, int texture) {
  uint32_t colour = DrawColour();
  for (SVertex3D& v : verts) v.colour = colour;
  D3D_DrawVerts(PR_TRIANGLELIST, texture, verts.data(), int(verts.size()), nullptr, 0, 0, 0);
}

}  // namespace

bool D3D_Start(bool on) {
  if (on == g_D3D.on) return true;
  Batch_Flush();
  g_D3D.on = on;
  g_D3D.perspective = on;
  Graphics_SetRenderState(RS_ZENABLE, on ? 1 : 0);
  ReapplyView();
  return true;
}

bool D3D_IsOn() { return g_D3D.on; }

void D3D_SetPerspective(bool on) {
  if (on == g_D3D.perspective) return;
  g_D3D.perspective = on;
  ReapplyView();
}

bool D3D_GetPerspective() { return g_D3D.perspective; }
void D3D_SetHidden(bool on) { Graphics_SetRenderState(RS_ZENABLE, on ? 1 : 0); }
void D3D_SetLighting(bool on) { Graphics_SetRenderState(RS_LIGHTING, on ? 1 : 0); }
void D3D_SetShading(bool smooth) { Graphics_SetRenderState(RS_SHADEMODE, smooth ? 2 : 1); }
void D3D_SetCulling(bool on) { Graphics_SetRenderState(RS_CULLMODE, on ? 3 : 1); }

void D3D_SetDepth(double depth) {
  float d = float(std::clamp(depth, -16000.0, 16000.0));
  if (std::isnan(depth)) d = 0;
  g_D3D.depth = d;
}

float D3D_GetDepth() { return g_D3D.depth; }

void D3D_SetFog(bool on, uint32_t colour, uint16_t start, uint16_t end) {
  Graphics_SetFog(GR_ColourToARGB(colour, 1), float(start), float(end));
  Graphics_SetRenderState(RS_FOGENABLE, on ? 1 : 0);
}

void D3D_ViewMatrices(float x, float y, float w, float h, float angle, bool perspective, Matrix* view,
                      Matrix* projection) {
  if (w == 0) w = 1;
  if (h == 0) h = 1;
  // The area turns counter-clockwise about its centre, so the room turns
  // clockwise on the screen.
  float cx = x + w / 2, cy = y + h / 2;
  Matrix turn = Matrix_RotationZ(angle * kDegrees);
  if (!perspective) {
    // Room y grows downward: the negative height turns it over.
    *view = Matrix_Multiply(Matrix_Translation(-cx, -cy, 0), turn);
    *projection = Matrix_OrthoLH(w, -h, -16000, 16000);
    return;
  }
  float fov = D3D_DEFAULT_FOV * kDegrees;
  float distance = std::fabs(h) / 2 / std::tan(fov / 2);
  *view = Matrix_Multiply(Matrix_Multiply(Matrix_Translation(-cx, -cy, 0), turn), Matrix_Translation(0, 0, distance));
  *projection = Matrix_Multiply(Matrix_Scaling(1, -1, 1), Matrix_PerspectiveFovLH(fov, std::fabs(w / h), 1, kFar));
}

namespace {
void SetAreaProjection(float x, float y, float w, float h, float angle, bool perspective) {
  Matrix view, projection;
  D3D_ViewMatrices(x, y, w, h, angle, perspective, &view, &projection);
  Graphics_SetTransform(TRANSFORM_VIEW, view);
  Graphics_SetTransform(TRANSFORM_PROJECTION, projection);
}
}  // namespace

void D3D_SetProjectionOrtho(float x, float y, float w, float h, float angle) {
  SetAreaProjection(x, y, w, h, angle, false);
}

void D3D_SetProjectionPerspective(float x, float y, float w, float h, float angle) {
  SetAreaProjection(x, y, w, h, angle, true);
}

void D3D_SetProjection(const float from[3], const float to[3], const float up[3]) {
  int px, py, pw, ph;
  Graphics_GetViewPort(&px, &py, &pw, &ph);
  float aspect = ph > 0 && pw > 0 ? float(pw) / float(ph) : 1.0f;
  D3D_SetProjectionExt(from, to, up, 45, aspect, 1, kFar);
}

void D3D_SetProjectionExt(const float from[3], const float to[3], const float up[3], float angle, float aspect,
                          float znear, float zfar) {
  Graphics_SetTransform(TRANSFORM_VIEW, Matrix_LookAtLH(from, to, up));
  Graphics_SetTransform(TRANSFORM_PROJECTION, Matrix_PerspectiveFovLH(angle * kDegrees, aspect, znear, zfar));
}

void D3D_Transform_SetIdentity() { Graphics_SetTransform(TRANSFORM_WORLD, Matrix_Identity()); }
void D3D_Transform_Translation(bool add, float x, float y, float z) { SetWorld(add, Matrix_Translation(x, y, z)); }
void D3D_Transform_Scaling(bool add, float x, float y, float z) { SetWorld(add, Matrix_Scaling(x, y, z)); }

// The matrices turn clockwise on a 2D view's screen for a positive angle;
// image_angle turns the other way.
void D3D_Transform_Rotation(bool add, int axis, float angle) {
  float a = -angle * kDegrees;
  SetWorld(add, axis == D3D_AXIS_X ? Matrix_RotationX(a) : axis == D3D_AXIS_Y ? Matrix_RotationY(a) : Matrix_RotationZ(a));
}

void D3D_Transform_RotationAxis(bool add, float xa, float ya, float za, float angle) {
  SetWorld(add, Matrix_RotationAxis({xa, ya, za}, -angle * kDegrees));
}

void D3D_TransformStack_Clear() { g_D3D.top = -1; }
bool D3D_TransformStack_Empty() { return g_D3D.top < 0; }

bool D3D_TransformStack_Push() {
  if (g_D3D.top >= D3D_TRANSFORM_STACK - 1) return false;
  g_D3D.stack[++g_D3D.top] = Graphics_GetTransform(TRANSFORM_WORLD);
  return true;
}

bool D3D_TransformStack_Pop() {
  if (!D3D_TransformStack_Top()) return false;
  g_D3D.top--;
  return true;
}

bool D3D_TransformStack_Top() {
  if (g_D3D.top < 0) return false;
  Graphics_SetTransform(TRANSFORM_WORLD, g_D3D.stack[g_D3D.top]);
  return true;
}

bool D3D_TransformStack_Discard() {
  if (g_D3D.top < 0) return false;
  g_D3D.top--;
  return true;
}

void Graphics_LightDefineAmbient(uint32_t colour) { Graphics_SetAmbient(GR_ColourToARGB(colour, 1)); }

void Graphics_LightDefineDirection(int index, float dx, float dy, float dz, uint32_t colour) {
  DeviceLight l;
  l.kind = LIGHT_DIRECTIONAL;
  Vector3 d = Vector3_Normalize({dx, dy, dz});
  l.x = d.x;
  l.y = d.y;
  l.z = d.z;
  l.colour = GR_ColourToARGB(colour, 1);
  SetLight(index, l);
}

void Graphics_LightDefinePoint(int index, float x, float y, float z, float range, uint32_t colour) {
  DeviceLight l;
  l.kind = LIGHT_POINT;
  l.x = x;
  l.y = y;
  l.z = z;
  l.range = range;
  l.colour = GR_ColourToARGB(colour, 1);
  SetLight(index, l);
}

void Graphics_LightEnable(int index, bool on) {
  if (!ValidLight(index)) return;
  g_D3D.lights[index].enabled = on;
  Graphics_SetLight(index, g_D3D.lights[index]);
}

void D3D_DrawVerts(int kind, int texture, const SVertex3D* verts, int n, const uint8_t* useDrawColour, float dx,
                   float dy, float dz) {
  n = WholeCount(kind, n);
  if (n <= 0 || kind < PR_POINTLIST || kind > PR_TRIANGLEFAN) return;
  if (!GR_Texture_Exists(texture)) texture = -1;
  SVertex3D* out = Batch_AllocVerts3D(kind, texture, n);
  if (!out) return;
  uint32_t colour = DrawColour();
  for (int i = 0; i < n; i++) {
    out[i] = verts[i];
    out[i].x += dx;
    out[i].y += dy;
    out[i].z += dz;
    if (useDrawColour && useDrawColour[i]) out[i].colour = colour;
  }
}

void D3D_Primitive_Begin(int kind, int texture) {
  g_Primitive.kind = kind;
  g_Primitive.texture = texture;
  g_Primitive.verts.clear();
}

void D3D_Vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v, uint32_t colour,
                float alpha) {
  g_Primitive.verts.push_back({x, y, z, nx, ny, nz, GR_ColourToARGB(colour, alpha), u, v});
}

void D3D_Vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v) {
  D3D_Vertex(x, y, z, nx, ny, nz, u, v, GR_GetColor(), GR_GetAlpha());
}

void D3D_Primitive_End() {
  Primitive3D& p = g_Primitive;
  D3D_DrawVerts(p.kind, p.texture, p.verts.data(), int(p.verts.size()), nullptr, 0, 0, 0);
  p.verts.clear();
  p.kind = 0;
}

void D3D_Draw_Block(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                    float vrepeat) {
  std::vector<SVertex3D>& v = Scratch();
  D3D_Shape_Block(v, {x1, y1, z1, x2, y2, z2}, hrepeat, vrepeat);
  DrawShape(v, texture);
}

void D3D_Draw_Cylinder(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                       float vrepeat, bool closed, int steps) {
  std::vector<SVertex3D>& v = Scratch();
  D3D_Shape_Cylinder(v, {x1, y1, z1, x2, y2, z2}, hrepeat, vrepeat, closed, steps);
  DrawShape(v, texture);
}

void D3D_Draw_Cone(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                   float vrepeat, bool closed, int steps) {
  std::vector<SVertex3D>& v = Scratch();
  D3D_Shape_Cone(v, {x1, y1, z1, x2, y2, z2}, hrepeat, vrepeat, closed, steps);
  DrawShape(v, texture);
}

void D3D_Draw_Ellipsoid(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                        float vrepeat, int steps) {
  std::vector<SVertex3D>& v = Scratch();
  D3D_Shape_Ellipsoid(v, {x1, y1, z1, x2, y2, z2}, hrepeat, vrepeat, steps);
  DrawShape(v, texture);
}

void D3D_Draw_Wall(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                   float vrepeat) {
  std::vector<SVertex3D>& v = Scratch();
  D3D_Shape_Wall(v, {x1, y1, z1, x2, y2, z2}, hrepeat, vrepeat);
  DrawShape(v, texture);
}

void D3D_Draw_Floor(float x1, float y1, float z1, float x2, float y2, float z2, int texture, float hrepeat,
                    float vrepeat) {
  std::vector<SVertex3D>& v = Scratch();
  D3D_Shape_Floor(v, {x1, y1, z1, x2, y2, z2}, hrepeat, vrepeat);
  DrawShape(v, texture);
}
