// Box2D's debug drawing through the 2D primitives, metres drawn as `scale`
// room pixels each.
#pragma once
#include <box2d/b2_draw.h>

class b2Fixture;

class CPhysicsDraw : public b2Draw {
 public:
  explicit CPhysicsDraw(float scale) : m_scale(scale) {}

  void DrawPolygon(const b2Vec2* vertices, int32 count, const b2Color& color) override;
  void DrawSolidPolygon(const b2Vec2* vertices, int32 count, const b2Color& color) override;
  void DrawCircle(const b2Vec2& center, float radius, const b2Color& color) override;
  void DrawSolidCircle(const b2Vec2& center, float radius, const b2Vec2& axis, const b2Color& color) override;
  void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color) override;
  void DrawTransform(const b2Transform& xf) override;
  void DrawPoint(const b2Vec2& p, float size, const b2Color& color) override;
  // One fixture's shape at the transform.
  void DrawFixture(const b2Fixture* fixture, const b2Transform& xf);

 private:
  float m_scale;
};
