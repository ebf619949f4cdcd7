// 4x4 matrices in the row-vector convention (a point is transformed as
// p * M), with left-handed view and projection builders.
#pragma once

struct Matrix {
  float m[4][4];
};

Matrix Matrix_Identity();
Matrix Matrix_Multiply(const Matrix& a, const Matrix& b);  // a then b
Matrix Matrix_Translation(float x, float y, float z);
Matrix Matrix_Scaling(float x, float y, float z);
Matrix Matrix_RotationZ(float radians);
// Left-handed orthographic projection of a w by h box centred on the eye,
// depth from zn to zf mapped to 0..1.
Matrix Matrix_OrthoLH(float w, float h, float zn, float zf);
Matrix Matrix_LookAtLH(const float eye[3], const float at[3], const float up[3]);
