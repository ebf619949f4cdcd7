#include <gtest/gtest.h>

#include <cmath>

#include "Base/Maths_Matrix.h"

namespace {
constexpr float kPi = 3.14159265358979f;

void ExpectNear(const Vector3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
}
}  // namespace

TEST(Matrix, RowVectorsAndMultiplyOrder) {
  // Scale first, then move: (1,1,1) -> (2,3,4) -> (12,3,4).
  Matrix m = Matrix_Multiply(Matrix_Scaling(2, 3, 4), Matrix_Translation(10, 0, 0));
  ExpectNear(Vector3_TransformCoord({1, 1, 1}, m), 12, 3, 4);
  EXPECT_EQ(m.m[3][0], 10.0f);  // translation lives in the last row
  ExpectNear(Vector3_TransformNormal({1, 1, 1}, m), 2, 3, 4);
  Matrix i = Matrix_Multiply(Matrix_Identity(), m);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(i.m[r][c], m.m[r][c]);
}

TEST(Matrix, RotationsTurnTheLeftHandedWay) {
  ExpectNear(Vector3_TransformCoord({1, 0, 0}, Matrix_RotationZ(kPi / 2)), 0, 1, 0);
  ExpectNear(Vector3_TransformCoord({0, 1, 0}, Matrix_RotationX(kPi / 2)), 0, 0, 1);
  ExpectNear(Vector3_TransformCoord({0, 0, 1}, Matrix_RotationY(kPi / 2)), 1, 0, 0);
}

TEST(Matrix, RotationAboutAnAxisMatchesTheAxisRotations) {
  const Matrix byAxis[3] = {Matrix_RotationAxis({2, 0, 0}, 0.7f), Matrix_RotationAxis({0, 0.5f, 0}, 0.7f),
                            Matrix_RotationAxis({0, 0, 9}, 0.7f)};
  const Matrix plain[3] = {Matrix_RotationX(0.7f), Matrix_RotationY(0.7f), Matrix_RotationZ(0.7f)};
  for (int k = 0; k < 3; k++)
    for (int r = 0; r < 4; r++)
      for (int c = 0; c < 4; c++) EXPECT_NEAR(byAxis[k].m[r][c], plain[k].m[r][c], 1e-6f) << k;
  // The axis itself stays; a point turns about it; the zero axis does nothing.
  ExpectNear(Vector3_TransformCoord({1, 1, 1}, Matrix_RotationAxis({1, 1, 1}, 1.0f)), 1, 1, 1);
  ExpectNear(Vector3_TransformCoord({1, -1, 0}, Matrix_RotationAxis({1, 1, 1}, 2 * kPi / 3)), 0, 1, -1);
  ExpectNear(Vector3_TransformCoord({3, 4, 5}, Matrix_RotationAxis({0, 0, 0}, 1.0f)), 3, 4, 5);
}

TEST(Matrix, ViewAndProjections) {
  Matrix view = Matrix_LookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
  ExpectNear(Vector3_TransformCoord({0, 0, 0}, view), 0, 0, 10);
  ExpectNear(Vector3_TransformCoord({1, 2, 0}, view), 1, 2, 10);  // x right, y up
  Matrix side = Matrix_LookAtLH({10, 0, 0}, {0, 0, 0}, {0, 1, 0});
  ExpectNear(Vector3_TransformCoord({0, 0, 0}, side), 0, 0, 10);
  ExpectNear(Vector3_TransformCoord({0, 0, 1}, side), 1, 0, 10);

  // Depth maps near to 0 and far to 1; 90 degrees up and down at aspect 2.
  Matrix proj = Matrix_PerspectiveFovLH(kPi / 2, 2.0f, 1.0f, 100.0f);
  ExpectNear(Vector3_TransformCoord({0, 0, 1}, proj), 0, 0, 0);
  ExpectNear(Vector3_TransformCoord({0, 0, 100}, proj), 0, 0, 1);
  ExpectNear(Vector3_TransformCoord({10, 5, 5}, proj), 1, 1, Vector3_TransformCoord({0, 0, 5}, proj).z);

  Matrix ortho = Matrix_OrthoLH(640, 480, -16000, 16000);
  ExpectNear(Vector3_TransformCoord({320, -240, 16000}, ortho), 1, -1, 1);
  ExpectNear(Vector3_TransformCoord({0, 0, -16000}, ortho), 0, 0, 0);
}

TEST(Vector, NormalizeKeepsZeroAndCrossIsLeftHandedBasis) {
  ExpectNear(Vector3_Normalize({0, 0, 0}), 0, 0, 0);
  ExpectNear(Vector3_Normalize({3, 0, 4}), 0.6f, 0, 0.8f);
  ExpectNear(Vector3_Cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
}
