// Vectors and 4x4 matrices in the left-handed, row-vector convention the
// renderer keeps: a point is a row (x, y, z, 1) multiplied on the left of the
// matrix, so A * B applies A first; translation sits in the last row; clip
// depth runs 0..1.
#pragma once

struct Vector3 {
  float x, y, z;
};

struct Matrix {
  float m[4][4];  // m[row][column]
};

float Vector3_Dot(const Vector3& a, const Vector3& b);
Vector3 Vector3_Cross(const Vector3& a, const Vector3& b);
// The zero vector stays zero.
Vector3 Vector3_Normalize(const Vector3& v);
// (v, 1) * m, divided by the resulting w (w 0 leaves x, y, z undivided).
Vector3 Vector3_TransformCoord(const Vector3& v, const Matrix& m);
// (v, 0) * m: directions and normals, without the translation.
Vector3 Vector3_TransformNormal(const Vector3& v, const Matrix& m);

Matrix Matrix_Identity();
// a * b: a's transform, then b's.
Matrix Matrix_Multiply(const Matrix& a, const Matrix& b);
Matrix Matrix_Translation(float x, float y, float z);
Matrix Matrix_Scaling(float x, float y, float z);
// Angles in radians, turning clockwise when looking down the axis toward the
// origin (the left-handed sense).
Matrix Matrix_RotationX(float angle);
Matrix Matrix_RotationY(float angle);
Matrix Matrix_RotationZ(float angle);
// About the axis through the origin, in the same sense as the three above
// (the axis (0, 0, 1) gives Matrix_RotationZ). The axis is normalised; the
// zero axis gives the identity.
Matrix Matrix_RotationAxis(const Vector3& axis, float angle);
// View matrix looking from eye to at with the given up direction.
Matrix Matrix_LookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
// The same with the points as float[3] arrays.
inline Matrix Matrix_LookAtLH(const float eye[3], const float at[3], const float up[3]) {
  return Matrix_LookAtLH(Vector3{eye[0], eye[1], eye[2]}, Vector3{at[0], at[1], at[2]}, Vector3{up[0], up[1], up[2]});
}
// Projection with vertical field of view fovY (radians), width / height aspect.
Matrix Matrix_PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Orthographic projection of a width x height box centred on the axis.
Matrix Matrix_OrthoLH(float width, float height, float zNear, float zFar);
