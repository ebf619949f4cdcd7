#include "Physics/Physics_Draw.h"

#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>

#include "Graphics/Graphics_Draw.h"

namespace {
// A Box2D colour as a script colour (BGR).
uint32_t Colour(const b2Color& c) {
  auto byte = [](float v) { return static_cast<uint32_t>(b2Clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
  return byte(c.r) | byte(c.g) << 8 | byte(c.b) << 16;
}
}  // namespace

void CPhysicsDraw::DrawPolygon(const b2Vec2* v, int32 count, const b2Color& color) {
  uint32_t c = Colour(color);
  for (int32 i = 0; i < count; i++) {
    const b2Vec2& a = v[i];
    const b2Vec2& b = v[(i + 1) % count];
    GR_Draw_Line_Color(a.x * m_scale, a.y * m_scale, b.x * m_scale, b.y * m_scale, c, c);
  }
}

void CPhysicsDraw::DrawSolidPolygon(const b2Vec2* v, int32 count, const b2Color& color) { DrawPolygon(v, count, color); }

void CPhysicsDraw::DrawCircle(const b2Vec2& centre, float radius, const b2Color& color) {
  uint32_t c = Colour(color);
  GR_Draw_Circle_Color(centre.x * m_scale, centre.y * m_scale, radius * m_scale, c, c, true);
}

void CPhysicsDraw::DrawSolidCircle(const b2Vec2& centre, float radius, const b2Vec2& axis, const b2Color& color) {
  DrawCircle(centre, radius, color);
  DrawSegment(centre, centre + radius * axis, color);
}

void CPhysicsDraw::DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color) {
  uint32_t c = Colour(color);
  GR_Draw_Line_Color(p1.x * m_scale, p1.y * m_scale, p2.x * m_scale, p2.y * m_scale, c, c);
}

void CPhysicsDraw::DrawTransform(const b2Transform& xf) {
  const float axis = 0.4f;
  DrawSegment(xf.p, xf.p + axis * xf.q.GetXAxis(), b2Color(1, 0, 0));
  DrawSegment(xf.p, xf.p + axis * xf.q.GetYAxis(), b2Color(0, 1, 0));
}

void CPhysicsDraw::DrawPoint(const b2Vec2& p, float size, const b2Color& color) {
  uint32_t c = Colour(color);
  float h = size / 2, x = p.x * m_scale, y = p.y * m_scale;
  GR_Draw_Rectangle_Color(x - h, y - h, x + h, y + h, c, c, c, c, false);
}

void CPhysicsDraw::DrawFixture(const b2Fixture* fixture, const b2Transform& xf) {
  const b2Color colour(0.9f, 0.7f, 0.7f);
  if (fixture->GetType() == b2Shape::e_circle) {
    auto* circle = static_cast<const b2CircleShape*>(fixture->GetShape());
    DrawSolidCircle(b2Mul(xf, circle->m_p), circle->m_radius, xf.q.GetXAxis(), colour);
  } else if (fixture->GetType() == b2Shape::e_polygon) {
    auto* poly = static_cast<const b2PolygonShape*>(fixture->GetShape());
    b2Vec2 v[b2_maxPolygonVertices];
    for (int32 i = 0; i < poly->m_count; i++) v[i] = b2Mul(xf, poly->m_vertices[i]);
    DrawSolidPolygon(v, poly->m_count, colour);
  }
}
