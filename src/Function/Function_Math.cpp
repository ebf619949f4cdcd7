// The maths built-ins: type tests, random numbers, rounding, elementary
// functions, trigonometry, lists, interpolation and plane geometry.
// Number arguments are read from the value's number field whatever its kind.
#include "Function/Function_Math.h"

#include <cmath>
#include <vector>

#include "Base/Convert.h"
#include "Base/Random_Main.h"
#include "Base/Text_Real.h"
#include "Code/Code_Error.h"
#include "Function/Function_String.h"

namespace {
constexpr float kPiSingle = static_cast<float>(MATH_PI);

// Rounds to single precision and widens again.
double Single(double d) { return static_cast<double>(Convert_ToSingle(d)); }

// The trigonometric functions' snap: a single result below 0.00001 in
// magnitude becomes exactly 0.
double SnapSmall(double d) {
  float f = Convert_ToSingle(d);
  return std::fabs(f) < 1e-5f ? 0.0 : static_cast<double>(f);
}

// lengthdir's snap: a product within 0.0001 of a whole number toward zero
// becomes that whole number.
double SnapNearInteger(float product) {
  float whole = std::trunc(product);
  if (std::fabs(product - whole) < 1e-4f) return static_cast<double>(whole) + 0.0;  // no -0
  return static_cast<double>(product);
}

double Arg(const RValue* arg, int i) { return arg[i].val; }
float ArgSingle(const RValue* arg, int i) { return Convert_ToSingle(arg[i].val); }
}  // namespace

// --- Type tests and random numbers ---------------------------------------

void F_IsReal(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, arg[0].kind == VALUE_REAL ? 1.0 : 0.0);
}

void F_IsString(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, arg[0].kind == VALUE_STRING ? 1.0 : 0.0);
}

void F_Random(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, static_cast<double>(Random_Real()) * Arg(arg, 0));
}

void F_RandomRange(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double a = Arg(arg, 0), b = Arg(arg, 1);
  double low = b > a ? a : b;
  RValue_SetReal(&Result, static_cast<double>(Random_Real()) * std::fabs(a - b) + low);
}

// The draws of irandom and irandom_range count in 64 bits, so wide ranges
// neither wrap nor overflow.
void F_IRandom(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int64_t n = Convert_TruncInt64(Arg(arg, 0)) + 1;
  double u = Random_Real();
  RValue_SetReal(&Result, static_cast<double>(Convert_TruncInt64(u * static_cast<double>(n))));
}

void F_IRandomRange(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double a = Arg(arg, 0);
  // Differences of the truncated ends as doubles: exact for every range a
  // script can name, and free of 64-bit overflow.
  double n = static_cast<double>(Convert_TruncInt64(Arg(arg, 1))) - static_cast<double>(Convert_TruncInt64(a)) + 1.0;
  double u = Random_Real();
  RValue_SetReal(&Result, static_cast<double>(Convert_TruncInt64(u * n)) + a);
}

// A seed beyond the 64-bit range or NaN truncates to the indefinite integer,
// whose low 32 bits are 0.
void F_RandomSetSeed(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Random_SetSeed(static_cast<uint32_t>(static_cast<uint64_t>(Convert_TruncInt64(Arg(arg, 0)))));
}

void F_RandomGetSeed(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, static_cast<double>(Random_GetSeed()));
}

void F_Randomize(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, static_cast<double>(Random_Randomize()));
}

// --- Rounding and elementary functions -----------------------------------

void F_Abs(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::fabs(static_cast<double>(ArgSingle(arg, 0))));
}

// round, floor and ceil give the whole number itself, also outside the
// 32-bit range (adding 0 turns -0 into 0).
void F_Round(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::nearbyint(Arg(arg, 0)) + 0.0);
}

void F_Floor(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::floor(Arg(arg, 0)) + 0.0);
}

void F_Ceil(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::ceil(Arg(arg, 0)) + 0.0);
}

void F_Sign(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double x = Arg(arg, 0);
  RValue_SetReal(&Result, (x < 0 || std::isnan(x)) ? -1.0 : x == 0 ? 0.0 : 1.0);
}

void F_Frac(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double x = Arg(arg, 0);
  RValue_SetReal(&Result, x - std::trunc(x));
}

void F_Sqrt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { RValue_SetReal(&Result, std::sqrt(Arg(arg, 0))); }
void F_Sqr(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { RValue_SetReal(&Result, Arg(arg, 0) * Arg(arg, 0)); }
void F_Exp(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { RValue_SetReal(&Result, std::exp(Arg(arg, 0))); }
void F_Ln(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { RValue_SetReal(&Result, std::log(Arg(arg, 0))); }
void F_Log10(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { RValue_SetReal(&Result, std::log10(Arg(arg, 0))); }

void F_Log2(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::log(Arg(arg, 0)) / std::log(2.0));
}

void F_Power(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::pow(Arg(arg, 0), Arg(arg, 1)));
}

void F_Logn(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, std::log(Arg(arg, 0)) / std::log(Arg(arg, 1)));
}

// --- Trigonometry (single precision, small results snap to 0) -------------

void F_Sin(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, SnapSmall(std::sin(static_cast<double>(ArgSingle(arg, 0)))));
}

void F_Cos(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, SnapSmall(std::cos(static_cast<double>(ArgSingle(arg, 0)))));
}

void F_Tan(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, SnapSmall(std::tan(static_cast<double>(ArgSingle(arg, 0)))));
}

namespace {
// arcsin and arccos: defined from -1 to 1 after rounding to single precision.
void Inverse(RValue& Result, const RValue* arg, double (*fn)(double), const char* message) {
  float x = ArgSingle(arg, 0);
  if (x < -1.0f || x > 1.0f) {
    Error_Show_Action(message, false);
    return;
  }
  RValue_SetReal(&Result, SnapSmall(fn(static_cast<double>(x))));
}
}  // namespace

void F_Arcsin(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Inverse(Result, arg, static_cast<double (*)(double)>(std::asin), "Error in function arcsin().");
}

void F_Arccos(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Inverse(Result, arg, static_cast<double (*)(double)>(std::acos), "Error in function arccos().");
}

void F_Arctan(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, SnapSmall(std::atan(static_cast<double>(ArgSingle(arg, 0)))));
}

void F_Arctan2(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double y = ArgSingle(arg, 0), x = ArgSingle(arg, 1);
  RValue_SetReal(&Result, SnapSmall(std::atan2(y, x)));
}

void F_DegToRad(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, Arg(arg, 0) * MATH_PI / 180.0);
}

void F_RadToDeg(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, Arg(arg, 0) * 180.0 / MATH_PI);
}

// --- Lists, choice and interpolation -------------------------------------

namespace {
// min and max: strings are refused before anything is compared; then the
// first of equal values wins.
void Extreme(RValue& Result, int argc, const RValue* arg, bool largest, const char* message) {
  for (int i = 0; i < argc; ++i) {
    if (arg[i].kind == VALUE_STRING) {
      Error_Show_Action(message, false);
      return;
    }
  }
  if (argc <= 0) return;
  double best = arg[0].val;
  for (int i = 1; i < argc; ++i) {
    if (largest ? arg[i].val > best : arg[i].val < best) best = arg[i].val;
  }
  RValue_SetReal(&Result, best);
}

constexpr const char* kMinMessage = "Error min(): illegal argument; strings not permitted";
constexpr const char* kMaxMessage = "Error max(): illegal argument; strings not permitted";
}  // namespace

void F_Min(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) { Extreme(Result, argc, arg, false, kMinMessage); }
void F_Max(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) { Extreme(Result, argc, arg, true, kMaxMessage); }

void F_Mean(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc <= 0) return;
  double sum = 0.0;
  for (int i = 0; i < argc; ++i) sum += arg[i].val;
  RValue_SetReal(&Result, sum / argc);
}

// Orders the values by repeated selection of the smallest remaining one (the
// first among equals) and takes the element at count / 2. Taken values are
// marked as taken, so every value, however large, keeps its own number.
void F_Median(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc <= 0) return;
  std::vector<bool> taken(static_cast<size_t>(argc), false);
  double value = 0.0;
  for (int place = 0; place <= argc / 2; ++place) {
    int best = -1;
    for (int i = 0; i < argc; ++i) {
      if (taken[i]) continue;
      if (best < 0 || arg[i].val < arg[best].val) best = i;
    }
    taken[best] = true;
    value = arg[best].val;
  }
  RValue_SetReal(&Result, value);
}

void F_Choose(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc <= 0) return;
  int index = static_cast<int>(static_cast<float>(argc) * Random_Real());
  if (index > argc - 1) index = argc - 1;
  RValue_Copy(&Result, &arg[index]);
}

void F_Clamp(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double r = Arg(arg, 0);
  if (Arg(arg, 1) > r) r = Arg(arg, 1);
  if (r > Arg(arg, 2)) r = Arg(arg, 2);
  RValue_SetReal(&Result, r);
}

void F_Lerp(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, (Arg(arg, 1) - Arg(arg, 0)) * Arg(arg, 2) + Arg(arg, 0));
}

void F_Real(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, arg[0].kind == VALUE_STRING ? Real_FromText(arg[0].str) : arg[0].val);
}

// --- Geometry (degrees; y points down) -----------------------------------

namespace {
// Coordinates in single precision; their squared differences summed and the
// root taken, each rounded to single precision.
double DistanceSingle(const RValue* a, const RValue* b, int dims) {
  double sum = 0.0;
  for (int i = 0; i < dims; ++i) {
    double d = static_cast<double>(Convert_ToSingle(b[i].val)) - static_cast<double>(Convert_ToSingle(a[i].val));
    sum += d * d;
  }
  return Single(std::sqrt(Single(sum)));
}

double DotNormalised(const RValue* a, const RValue* b, int dims) {
  double dot = 0.0, la = 0.0, lb = 0.0;
  for (int i = 0; i < dims; ++i) {
    double x = Convert_ToSingle(a[i].val), y = Convert_ToSingle(b[i].val);
    dot += x * y;
    la += x * x;
    lb += y * y;
  }
  return dot / (Single(std::sqrt(la)) * Single(std::sqrt(lb)));
}

// The product of a length and the cosine or sine of a direction in degrees,
// all in single precision.
float LengthTimes(const RValue* arg, double (*fn)(double)) {
  float degrees = ArgSingle(arg, 1);
  float radians = degrees * kPiSingle / 180.0f;
  float unit = static_cast<float>(fn(static_cast<double>(radians)));
  return unit * ArgSingle(arg, 0);
}
}  // namespace

void F_PointDistance(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DistanceSingle(arg, arg + 2, 2));
}

void F_PointDistance3D(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DistanceSingle(arg, arg + 3, 3));
}

void F_PointDirection(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  float dx = ArgSingle(arg, 2) - ArgSingle(arg, 0);
  float dy = ArgSingle(arg, 3) - ArgSingle(arg, 1);
  if (dx == 0.0f) {
    RValue_SetReal(&Result, dy > 0 ? 270.0 : dy < 0 ? 90.0 : 0.0);
    return;
  }
  float a = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180.0 / MATH_PI);
  RValue_SetReal(&Result, a > 0 ? static_cast<double>(360.0f - a) : static_cast<double>(-a));
}

void F_LengthdirX(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, SnapNearInteger(LengthTimes(arg, static_cast<double (*)(double)>(std::cos))));
}

void F_LengthdirY(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, SnapNearInteger(-LengthTimes(arg, static_cast<double (*)(double)>(std::sin))));
}

void F_DotProduct(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, Arg(arg, 0) * Arg(arg, 2) + Arg(arg, 1) * Arg(arg, 3));
}

void F_DotProduct3D(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, Arg(arg, 0) * Arg(arg, 3) + Arg(arg, 1) * Arg(arg, 4) + Arg(arg, 2) * Arg(arg, 5));
}

void F_DotProductNormalised(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DotNormalised(arg, arg + 2, 2));
}

void F_DotProduct3DNormalised(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DotNormalised(arg, arg + 3, 3));
}

// --- Registration ---------------------------------------------------------

void Function_Math_Init() {
  Function_Add("is_real", F_IsReal, 1);
  Function_Add("is_string", F_IsString, 1);
  Function_Add("random", F_Random, 1);
  Function_Add("random_range", F_RandomRange, 2);
  Function_Add("irandom", F_IRandom, 1);
  Function_Add("irandom_range", F_IRandomRange, 2);
  Function_Add("random_set_seed", F_RandomSetSeed, 1);
  Function_Add("random_get_seed", F_RandomGetSeed, 0);
  Function_Add("randomize", F_Randomize, 0);

  Function_Add("abs", F_Abs, 1);
  Function_Add("round", F_Round, 1);
  Function_Add("floor", F_Floor, 1);
  Function_Add("ceil", F_Ceil, 1);
  Function_Add("sign", F_Sign, 1);
  Function_Add("frac", F_Frac, 1);
  Function_Add("sqrt", F_Sqrt, 1);
  Function_Add("sqr", F_Sqr, 1);
  Function_Add("exp", F_Exp, 1);
  Function_Add("ln", F_Ln, 1);
  Function_Add("log2", F_Log2, 1);
  Function_Add("log10", F_Log10, 1);
  Function_Add("power", F_Power, 2);
  Function_Add("logn", F_Logn, 2);

  Function_Add("sin", F_Sin, 1);
  Function_Add("cos", F_Cos, 1);
  Function_Add("tan", F_Tan, 1);
  Function_Add("arcsin", F_Arcsin, 1);
  Function_Add("arccos", F_Arccos, 1);
  Function_Add("arctan", F_Arctan, 1);
  Function_Add("arctan2", F_Arctan2, 2);
  Function_Add("degtorad", F_DegToRad, 1);
  Function_Add("radtodeg", F_RadToDeg, 1);

  Function_Add("min", F_Min, -1);
  Function_Add("max", F_Max, -1);
  Function_Add("min3", F_Min, 3);
  Function_Add("max3", F_Max, 3);
  Function_Add("mean", F_Mean, -1);
  Function_Add("median", F_Median, -1);
  Function_Add("choose", F_Choose, -1);
  Function_Add("clamp", F_Clamp, 3);
  Function_Add("lerp", F_Lerp, 3);
  Function_Add("real", F_Real, 1);

  Function_Add("point_distance", F_PointDistance, 4);
  Function_Add("point_distance_3d", F_PointDistance3D, 6);
  Function_Add("point_direction", F_PointDirection, 4);
  Function_Add("lengthdir_x", F_LengthdirX, 2);
  Function_Add("lengthdir_y", F_LengthdirY, 2);
  Function_Add("dot_product", F_DotProduct, 4);
  Function_Add("dot_product_3d", F_DotProduct3D, 6);
  Function_Add("dot_product_normalised", F_DotProductNormalised, 4);
  Function_Add("dot_product_3d_normalised", F_DotProduct3DNormalised, 6);

  Function_String_Init();
}
