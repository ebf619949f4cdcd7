#include "Graphics/Graphics_D3D_Shape.h"

#include <algorithm>
#include <cmath>

#include "Base/Maths_Matrix.h"

namespace {

struct Corner {
  Vector3 p, n;
  float u, v;
};

SVertex3D Vertex(const Corner& c) { return {c.p.x, c.p.y, c.p.z, c.n.x, c.n.y, c.n.z, 0, c.u, c.v}; }

// One triangle, turned so that it is clockwise seen from the side its
// outward direction points to (in the left-handed world the cross product of
// its edges then points that way).
void Triangle(std::vector<SVertex3D>& out, const Corner& a, const Corner& b, const Corner& c, const Vector3& outward) {
  Vector3 e1{b.p.x - a.p.x, b.p.y - a.p.y, b.p.z - a.p.z}, e2{c.p.x - a.p.x, c.p.y - a.p.y, c.p.z - a.p.z};
  bool flip = Vector3_Dot(Vector3_Cross(e1, e2), outward) < 0;
  out.push_back(Vertex(a));
  out.push_back(Vertex(flip ? c : b));
  out.push_back(Vertex(flip ? b : c));
}

// A quad a, b, c, d (in order around it) as two triangles.
void Quad(std::vector<SVertex3D>& out, const Corner& a, const Corner& b, const Corner& c, const Corner& d,
          const Vector3& outward) {
  Triangle(out, a, b, c, outward);
  Triangle(out, a, c, d, outward);
}

Vector3 Sum(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// A flat face: the corners p[0..3] around it with texture corners (0, 0),
// (h, 0), (h, v), (0, v).
void Face(std::vector<SVertex3D>& out, const Vector3 p[4], const Vector3& n, float h, float v) {
  Corner a{p[0], n, 0, 0}, b{p[1], n, h, 0}, c{p[2], n, h, v}, d{p[3], n, 0, v};
  Quad(out, a, b, c, d, n);
}

struct Ellipse {
  float cx, cy, rx, ry;
  explicit Ellipse(const D3DBox& b)
      : cx((b.x1 + b.x2) / 2), cy((b.y1 + b.y2) / 2), rx(std::fabs(b.x2 - b.x1) / 2), ry(std::fabs(b.y2 - b.y1) / 2) {}
  float Cos(int i, int steps) const { return float(std::cos(2 * M_PI * i / steps)); }
  float Sin(int i, int steps) const { return float(std::sin(2 * M_PI * i / steps)); }
};

// A flat cap over the ellipse at height z, facing up (+z) or down.
void Cap(std::vector<SVertex3D>& out, const Ellipse& e, float z, bool up, float h, float v, int steps) {
  Vector3 n{0, 0, up ? 1.0f : -1.0f};
  Corner centre{{e.cx, e.cy, z}, n, h / 2, v / 2};
  for (int i = 0; i < steps; i++) {
    float c0 = e.Cos(i, steps), s0 = e.Sin(i, steps), c1 = e.Cos(i + 1, steps), s1 = e.Sin(i + 1, steps);
    Corner a{{e.cx + e.rx * c0, e.cy + e.ry * s0, z}, n, h * (0.5f + c0 / 2), v * (0.5f + s0 / 2)};
    Corner b{{e.cx + e.rx * c1, e.cy + e.ry * s1, z}, n, h * (0.5f + c1 / 2), v * (0.5f + s1 / 2)};
    Triangle(out, centre, a, b, n);
  }
}

// The side of a cylinder (top radius factor 1) or cone (0) between z1 and z2.
void Side(std::vector<SVertex3D>& out, const D3DBox& b, float top, float h, float v, int steps) {
  Ellipse e(b);
  float height = b.z2 - b.z1, up = height < 0 ? -1.0f : 1.0f;
  // The outward normal of an elliptic cylinder or cone at angle a.
  auto normal = [&](float c, float s) {
    Vector3 n{c * e.ry, s * e.rx, 0};
    if (top == 0) n = {c * e.ry * std::fabs(height), s * e.rx * std::fabs(height), up * e.rx * e.ry};
    return Vector3_Normalize(n);
  };
  for (int i = 0; i < steps; i++) {
    float c0 = e.Cos(i, steps), s0 = e.Sin(i, steps), c1 = e.Cos(i + 1, steps), s1 = e.Sin(i + 1, steps);
    Vector3 n0 = normal(c0, s0), n1 = normal(c1, s1);
    float u0 = h * float(i) / float(steps), u1 = h * float(i + 1) / float(steps);
    Corner a{{e.cx + e.rx * c0, e.cy + e.ry * s0, b.z1}, n0, u0, 0};
    Corner bb{{e.cx + e.rx * c1, e.cy + e.ry * s1, b.z1}, n1, u1, 0};
    Corner c{{e.cx + e.rx * c1 * top, e.cy + e.ry * s1 * top, b.z2}, n1, u1, v};
    Corner d{{e.cx + e.rx * c0 * top, e.cy + e.ry * s0 * top, b.z2}, n0, u0, v};
    Vector3 outward = Sum(n0, n1);
    if (top == 0) Triangle(out, a, bb, c, outward);
    else Quad(out, a, bb, c, d, outward);
  }
}

}  // namespace

int D3D_Shape_ClampSteps(int steps) { return std::clamp(steps, 3, 128); }

void D3D_Shape_Block(std::vector<SVertex3D>& out, const D3DBox& b, float h, float v) {
  float x1 = b.x1, y1 = b.y1, z1 = b.z1, x2 = b.x2, y2 = b.y2, z2 = b.z2;
  float sx = x2 < x1 ? -1.0f : 1.0f, sy = y2 < y1 ? -1.0f : 1.0f, sz = z2 < z1 ? -1.0f : 1.0f;
  // Sides: along x at y1 and y2, along y at x1 and x2, from z1 up to z2.
  Vector3 side1[4] = {{x1, y1, z1}, {x2, y1, z1}, {x2, y1, z2}, {x1, y1, z2}};
  Vector3 side2[4] = {{x1, y2, z1}, {x2, y2, z1}, {x2, y2, z2}, {x1, y2, z2}};
  Vector3 side3[4] = {{x1, y1, z1}, {x1, y2, z1}, {x1, y2, z2}, {x1, y1, z2}};
  Vector3 side4[4] = {{x2, y1, z1}, {x2, y2, z1}, {x2, y2, z2}, {x2, y1, z2}};
  Face(out, side1, {0, -sy, 0}, h, v);
  Face(out, side2, {0, sy, 0}, h, v);
  Face(out, side3, {-sx, 0, 0}, h, v);
  Face(out, side4, {sx, 0, 0}, h, v);
  // Bottom and top: across x and y.
  Vector3 bottom[4] = {{x1, y1, z1}, {x2, y1, z1}, {x2, y2, z1}, {x1, y2, z1}};
  Vector3 top[4] = {{x1, y1, z2}, {x2, y1, z2}, {x2, y2, z2}, {x1, y2, z2}};
  Face(out, bottom, {0, 0, -sz}, h, v);
  Face(out, top, {0, 0, sz}, h, v);
}

void D3D_Shape_Cylinder(std::vector<SVertex3D>& out, const D3DBox& b, float h, float v, bool closed, int steps) {
  steps = D3D_Shape_ClampSteps(steps);
  Side(out, b, 1, h, v, steps);
  if (!closed) return;
  Ellipse e(b);
  bool up = b.z2 >= b.z1;
  Cap(out, e, b.z1, !up, h, v, steps);
  Cap(out, e, b.z2, up, h, v, steps);
}

void D3D_Shape_Cone(std::vector<SVertex3D>& out, const D3DBox& b, float h, float v, bool closed, int steps) {
  steps = D3D_Shape_ClampSteps(steps);
  Side(out, b, 0, h, v, steps);
  if (closed) Cap(out, Ellipse(b), b.z1, b.z2 < b.z1, h, v, steps);
}

void D3D_Shape_Ellipsoid(std::vector<SVertex3D>& out, const D3DBox& b, float h, float v, int steps) {
  steps = D3D_Shape_ClampSteps(steps);
  int bands = std::max(2, steps / 2);
  Ellipse e(b);
  float cz = (b.z1 + b.z2) / 2, rz = (b.z2 - b.z1) / 2;
  auto corner = [&](int i, int j) {
    // From the pole at z1 (j = 0) to the one at z2.
    double phi = M_PI * j / bands;
    float c = e.Cos(i, steps), s = e.Sin(i, steps), sp = float(std::sin(phi)), cp = float(-std::cos(phi));
    Vector3 p{e.cx + e.rx * c * sp, e.cy + e.ry * s * sp, cz + rz * cp};
    // The gradient of the ellipsoid, scaled by the three radii to stay
    // finite when one of them is 0.
    float arz = std::fabs(rz);
    Vector3 n = Vector3_Normalize({c * sp * e.ry * arz, s * sp * e.rx * arz, cp * (rz < 0 ? -1.0f : 1.0f) * e.rx * e.ry});
    return Corner{p, n, h * float(i) / float(steps), v * float(j) / float(bands)};
  };
  for (int j = 0; j < bands; j++)
    for (int i = 0; i < steps; i++) {
      Corner a = corner(i, j), bb = corner(i + 1, j), c = corner(i + 1, j + 1), d = corner(i, j + 1);
      Vector3 outward = Sum(Sum(a.n, bb.n), Sum(c.n, d.n));
      if (j > 0) Triangle(out, a, bb, c, outward);
      if (j < bands - 1) Triangle(out, a, c, d, outward);
    }
}

void D3D_Shape_Wall(std::vector<SVertex3D>& out, const D3DBox& b, float h, float v) {
  Vector3 p[4] = {{b.x1, b.y1, b.z1}, {b.x2, b.y2, b.z1}, {b.x2, b.y2, b.z2}, {b.x1, b.y1, b.z2}};
  Vector3 n = Vector3_Normalize({b.y2 - b.y1, b.x1 - b.x2, 0});
  Face(out, p, n, h, v);
}

void D3D_Shape_Floor(std::vector<SVertex3D>& out, const D3DBox& b, float h, float v) {
  Vector3 p[4] = {{b.x1, b.y1, b.z1}, {b.x2, b.y1, b.z1}, {b.x2, b.y2, b.z2}, {b.x1, b.y2, b.z2}};
  Vector3 n = Vector3_Normalize(Vector3_Cross({b.x2 - b.x1, 0, 0}, {0, b.y2 - b.y1, b.z2 - b.z1}));
  if (n.z < 0) n = {-n.x, -n.y, -n.z};
  if (n.x == 0 && n.y == 0 && n.z == 0) n = {0, 0, 1};
  Face(out, p, n, h, v);
}
