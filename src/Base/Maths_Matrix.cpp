#include "Base/Maths_Matrix.h"

#include <cmath>

float Vector3_Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector3 Vector3_Cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 Vector3_Normalize(const Vector3& v) {
  float length = std::sqrt(Vector3_Dot(v, v));
  if (length == 0.0f) return v;
  return {v.x / length, v.y / length, v.z / length};
}

namespace {
// (x, y, z, w) * m.
void TransformRow(const float in[4], const Matrix& m, float out[4]) {
  for (int c = 0; c < 4; ++c) out[c] = in[0] * m.m[0][c] + in[1] * m.m[1][c] + in[2] * m.m[2][c] + in[3] * m.m[3][c];
}
}  // namespace

Vector3 Vector3_TransformCoord(const Vector3& v, const Matrix& m) {
  float in[4] = {v.x, v.y, v.z, 1.0f}, out[4];
  TransformRow(in, m, out);
  if (out[3] == 0.0f) return {out[0], out[1], out[2]};
  return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

Vector3 Vector3_TransformNormal(const Vector3& v, const Matrix& m) {
  float in[4] = {v.x, v.y, v.z, 0.0f}, out[4];
  TransformRow(in, m, out);
  return {out[0], out[1], out[2]};
}

Matrix Matrix_Identity() {
  return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

Matrix Matrix_Multiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int row = 0; row < 4; ++row) TransformRow(a.m[row], b, r.m[row]);
  return r;
}

Matrix Matrix_Translation(float x, float y, float z) {
  Matrix r = Matrix_Identity();
  r.m[3][0] = x;
  r.m[3][1] = y;
  r.m[3][2] = z;
  return r;
}

Matrix Matrix_Scaling(float x, float y, float z) {
  return {{{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}, {0, 0, 0, 1}}};
}

Matrix Matrix_RotationX(float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return {{{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}}};
}

Matrix Matrix_RotationY(float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return {{{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}}};
}

Matrix Matrix_RotationZ(float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return {{{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

Matrix Matrix_RotationAxis(const Vector3& axis, float angle) {
  Vector3 a = Vector3_Normalize(axis);
  if (a.x == 0 && a.y == 0 && a.z == 0) return Matrix_Identity();
  float c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  return {{{t * a.x * a.x + c, t * a.x * a.y + s * a.z, t * a.x * a.z - s * a.y, 0},
           {t * a.x * a.y - s * a.z, t * a.y * a.y + c, t * a.y * a.z + s * a.x, 0},
           {t * a.x * a.z + s * a.y, t * a.y * a.z - s * a.x, t * a.z * a.z + c, 0},
           {0, 0, 0, 1}}};
}

Matrix Matrix_LookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
  Vector3 z = Vector3_Normalize({at.x - eye.x, at.y - eye.y, at.z - eye.z});
  Vector3 x = Vector3_Normalize(Vector3_Cross(up, z));
  Vector3 y = Vector3_Cross(z, x);
  return {{{x.x, y.x, z.x, 0},
           {x.y, y.y, z.y, 0},
           {x.z, y.z, z.z, 0},
           {-Vector3_Dot(x, eye), -Vector3_Dot(y, eye), -Vector3_Dot(z, eye), 1}}};
}

Matrix Matrix_PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
  float yScale = 1.0f / std::tan(fovY / 2.0f);
  float xScale = yScale / aspect;
  float depth = zFar / (zFar - zNear);
  return {{{xScale, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, depth, 1}, {0, 0, -zNear * depth, 0}}};
}

Matrix Matrix_OrthoLH(float width, float height, float zNear, float zFar) {
  return {{{2.0f / width, 0, 0, 0},
           {0, 2.0f / height, 0, 0},
           {0, 0, 1.0f / (zFar - zNear), 0},
           {0, 0, zNear / (zNear - zFar), 1}}};
}
