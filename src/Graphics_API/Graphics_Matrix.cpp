#include "Graphics_API/Graphics_Matrix.h"

#include <cmath>

Matrix Matrix_Identity() {
  Matrix r{};
  for (int i = 0; i < 4; i++) r.m[i][i] = 1;
  return r;
}

Matrix Matrix_Multiply(const Matrix& a, const Matrix& b) {
  Matrix r{};
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++) {
      float s = 0;
      for (int k = 0; k < 4; k++) s += a.m[i][k] * b.m[k][j];
      r.m[i][j] = s;
    }
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
  Matrix r{};
  r.m[0][0] = x;
  r.m[1][1] = y;
  r.m[2][2] = z;
  r.m[3][3] = 1;
  return r;
}

Matrix Matrix_RotationZ(float radians) {
  Matrix r = Matrix_Identity();
  float c = std::cos(radians), s = std::sin(radians);
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

Matrix Matrix_OrthoLH(float w, float h, float zn, float zf) {
  Matrix r{};
  r.m[0][0] = 2 / w;
  r.m[1][1] = 2 / h;
  r.m[2][2] = 1 / (zf - zn);
  r.m[3][2] = zn / (zn - zf);
  r.m[3][3] = 1;
  return r;
}

static void Normalise(float v[3]) {
  float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (l > 0)
    for (int i = 0; i < 3; i++) v[i] /= l;
}

static void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

Matrix Matrix_LookAtLH(const float eye[3], const float at[3], const float up[3]) {
  float z[3] = {at[0] - eye[0], at[1] - eye[1], at[2] - eye[2]};
  Normalise(z);
  float x[3];
  Cross(up, z, x);
  Normalise(x);
  float y[3];
  Cross(z, x, y);
  Matrix r = Matrix_Identity();
  for (int i = 0; i < 3; i++) {
    r.m[i][0] = x[i];
    r.m[i][1] = y[i];
    r.m[i][2] = z[i];
  }
  r.m[3][0] = -(x[0] * eye[0] + x[1] * eye[1] + x[2] * eye[2]);
  r.m[3][1] = -(y[0] * eye[0] + y[1] * eye[1] + y[2] * eye[2]);
  r.m[3][2] = -(z[0] * eye[0] + z[1] * eye[1] + z[2] * eye[2]);
  return r;
}
