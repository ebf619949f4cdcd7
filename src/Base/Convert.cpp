#include "Base/Convert.h"

#include <cfloat>
#include <cmath>

int32_t Convert_RoundInt(double d) {
  double r = std::nearbyint(d);  // the default rounding mode: halves to even
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return INT32_MIN;
  return static_cast<int32_t>(r);
}

int64_t Convert_RoundInt64(double d) {
  double r = std::nearbyint(d);
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return INT64_MIN;
  return static_cast<int64_t>(r);
}

int32_t Convert_TruncInt(double d) {
  double r = std::trunc(d);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return INT32_MIN;
  return static_cast<int32_t>(r);
}

int64_t Convert_TruncInt64(double d) {
  double r = std::trunc(d);
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return INT64_MIN;
  return static_cast<int64_t>(r);
}

float Convert_ToSingle(double d) {
  if (std::isnan(d)) return NAN;
  // Values past the largest float round to it or overflow to infinity, as the
  // hardware store does; beyond the rounding range the result is infinite.
  if (d > static_cast<double>(FLT_MAX)) return d < 3.4028235677973366e38 ? FLT_MAX : INFINITY;
  if (d < -static_cast<double>(FLT_MAX)) return d > -3.4028235677973366e38 ? -FLT_MAX : -INFINITY;
  return static_cast<float>(d);
}
