#include <cmath>
#include <cstring>
#include <set>

#include <gtest/gtest.h>

#include "Base/Random_Main.h"
#include "Code/Code_Error.h"
#include "Function/Function_Math.h"
#include "Function_Call.h"

namespace {
// Runs a call and gives the error text it reported ("" for none).
template <typename F>
std::string ErrorOf(F&& call) {
  Error_SetOccurred(false);
  call();
  return Error_Occurred() ? std::string(Error_Last()) : std::string();
}
}  // namespace

TEST(MathRegistration, EveryNameWithItsArgumentCount) {
  Math_EnsureRegistered();
  struct { const char* name; int argc; } names[] = {
      {"is_real", 1}, {"is_string", 1}, {"random", 1}, {"random_range", 2}, {"irandom", 1},
      {"irandom_range", 2}, {"random_set_seed", 1}, {"random_get_seed", 0}, {"randomize", 0},
      {"abs", 1}, {"round", 1}, {"floor", 1}, {"ceil", 1}, {"sign", 1}, {"frac", 1}, {"sqrt", 1},
      {"sqr", 1}, {"exp", 1}, {"ln", 1}, {"log2", 1}, {"log10", 1}, {"power", 2}, {"logn", 2},
      {"sin", 1}, {"cos", 1}, {"tan", 1}, {"arcsin", 1}, {"arccos", 1}, {"arctan", 1},
      {"arctan2", 2}, {"degtorad", 1}, {"radtodeg", 1}, {"min", -1}, {"max", -1}, {"min3", 3},
      {"max3", 3}, {"mean", -1}, {"median", -1}, {"choose", -1}, {"clamp", 3}, {"lerp", 3},
      {"real", 1}, {"point_distance", 4}, {"point_distance_3d", 6}, {"point_direction", 4},
      {"lengthdir_x", 2}, {"lengthdir_y", 2}, {"dot_product", 4}, {"dot_product_3d", 6},
      {"dot_product_normalised", 4}, {"dot_product_3d_normalised", 6}, {"string", 1},
      {"string_format", 3}, {"chr", 1}, {"ansi_char", 1}, {"ord", 1}, {"string_length", 1},
      {"string_byte_length", 1}, {"string_pos", 2}, {"string_copy", 3}, {"string_char_at", 2},
      {"string_byte_at", 2}, {"string_delete", 3}, {"string_insert", 3}, {"string_lower", 1},
      {"string_upper", 1}, {"string_repeat", 2}, {"string_letters", 1}, {"string_digits", 1},
      {"string_lettersdigits", 1}, {"string_replace", 3}, {"string_replace_all", 3},
      {"string_count", 2}};
  EXPECT_EQ(std::size(names), 73u);
  for (auto& n : names) {
    const RFunction* f = Function_Get(Function_FindBuiltIn(n.name));
    ASSERT_NE(f, nullptr) << n.name;
    EXPECT_EQ(f->argnumb, n.argc) << n.name;
  }
}

TEST(MathRounding, HalvesToEvenAndTheFloorsOfNegatives) {
  RValue args[1] = {{VALUE_REAL, nullptr, 2.5}};
  RValue result = {VALUE_REAL, nullptr, 0.0};
  F_Round(result, nullptr, nullptr, 1, args);
  EXPECT_EQ(result.val, 2.0);
  EXPECT_EQ(CallReal("round", {3.5}), 4.0);
  EXPECT_EQ(CallReal("round", {-2.5}), -2.0);
  EXPECT_EQ(CallReal("floor", {-0.5}), -1.0);
  double c = CallReal("ceil", {-0.5});
  EXPECT_EQ(c, 0.0);
  EXPECT_FALSE(std::signbit(c)) << "ceil(-0.5) must be 0, not -0";
  EXPECT_EQ(CallReal("frac", {-1.25}), -0.25);
  EXPECT_EQ(CallReal("sign", {NAN}), -1.0);
  EXPECT_EQ(CallReal("sign", {0.0}), 0.0);
  EXPECT_EQ(CallReal("sign", {1e-300}), 1.0);
  EXPECT_TRUE(std::isinf(CallReal("abs", {-1e300})));
  EXPECT_EQ(CallReal("abs", {-0.1}), static_cast<double>(0.1f));
}

TEST(MathRounding, WholeNumbersBeyondThe32BitRangeAreExact) {
  EXPECT_EQ(CallReal("round", {1e10 + 0.5}), 1e10);
  EXPECT_EQ(CallReal("round", {-3e9 - 1.5}), -3e9 - 2);
  EXPECT_EQ(CallReal("floor", {-5e9 - 0.5}), -5000000001.0);
  EXPECT_EQ(CallReal("ceil", {4294967296.5}), 4294967297.0);
  EXPECT_EQ(CallReal("round", {1e300}), 1e300);
}

TEST(MathElementary, LogarithmsAndPowers) {
  EXPECT_NEAR(CallReal("logn", {8.0, 2.0}), 3.0, 1e-15);
  EXPECT_NEAR(CallReal("logn", {2.0, 8.0}), 1.0 / 3.0, 1e-15);
  EXPECT_NEAR(CallReal("log2", {1024.0}), 10.0, 1e-14);
  EXPECT_EQ(ErrorOf([] { EXPECT_TRUE(std::isnan(CallReal("sqrt", {-1.0}))); }), "");
  EXPECT_EQ(ErrorOf([] { EXPECT_TRUE(std::isinf(CallReal("ln", {0.0}))); }), "");
}

TEST(MathTrigonometry, SingleResultsSnapToZero) {
  EXPECT_EQ(CallReal("sin", {MATH_PI}), 0.0);
  EXPECT_EQ(CallReal("cos", {MATH_PI / 2}), 0.0);
  EXPECT_EQ(CallReal("sin", {MATH_PI / 2}), 1.0);
  EXPECT_EQ(CallReal("tan", {0.5}), static_cast<double>(static_cast<float>(std::tan(0.5))));
  EXPECT_EQ(CallReal("arctan2", {1.0, 0.0}), static_cast<double>(static_cast<float>(M_PI / 2)));
  EXPECT_EQ(CallReal("arctan2", {0.0, -1.0}), static_cast<double>(static_cast<float>(M_PI)));
  EXPECT_EQ(CallReal("degtorad", {180.0}), MATH_PI);
  EXPECT_EQ(CallReal("radtodeg", {MATH_PI}), 180.0);
}

TEST(MathTrigonometry, InverseFunctionsOutsideTheirRangeReport) {
  // 1.00000005 rounds to 1 in single precision and is accepted; 1.0000001
  // rounds to the next float above 1 and is not.
  EXPECT_EQ(ErrorOf([] { EXPECT_EQ(CallReal("arcsin", {1.00000005}), static_cast<double>(static_cast<float>(M_PI / 2))); }),
            "");
  EXPECT_NE(ErrorOf([] { CallReal("arcsin", {1.0000001}); }), "");
  std::string err = ErrorOf([] { EXPECT_EQ(CallReal("arcsin", {2.0}), 0.0); });
  EXPECT_NE(err.find("Error in function arcsin()."), std::string::npos) << err;
  err = ErrorOf([] { EXPECT_EQ(CallReal("arccos", {-1.5}), 0.0); });
  EXPECT_NE(err.find("Error in function arccos()."), std::string::npos) << err;
  EXPECT_EQ(CallReal("arccos", {1.0}), 0.0);
}

TEST(MathLists, MinAndMaxRefuseStrings) {
  EXPECT_EQ(CallReal("min", {}), 0.0);
  EXPECT_EQ(CallReal("max", {}), 0.0);
  EXPECT_EQ(CallReal("min", {3.0, 1.0, 2.0}), 1.0);
  EXPECT_EQ(CallReal("max", {3.0, 7.0, 2.0, 7.0}), 7.0);
  EXPECT_EQ(CallReal("min3", {4.0, -1.0, 2.0}), -1.0);
  std::string err = ErrorOf([] { EXPECT_EQ(CallReal("min", {1.0, "a"}), 0.0); });
  EXPECT_NE(err.find("Error min(): illegal argument; strings not permitted"), std::string::npos) << err;
  err = ErrorOf([] { EXPECT_EQ(CallReal("max3", {"a", 1.0, 2.0}), 0.0); });
  EXPECT_NE(err.find("Error max(): illegal argument; strings not permitted"), std::string::npos) << err;
}

TEST(MathLists, MeanMedianClampLerp) {
  EXPECT_EQ(CallReal("mean", {}), 0.0);
  EXPECT_EQ(CallReal("mean", {1.0, 2.0, 6.0}), 3.0);
  EXPECT_EQ(CallReal("median", {}), 0.0);
  EXPECT_EQ(CallReal("median", {5.0, 1.0, 3.0}), 3.0);
  EXPECT_EQ(CallReal("median", {4.0, 1.0, 3.0, 2.0}), 3.0);
  // Large values keep their own number rather than becoming 2147483647.
  EXPECT_EQ(CallReal("median", {1e10, 5.0}), 1e10);
  EXPECT_EQ(CallReal("median", {3e9, 1e10, 5e9}), 5e9);
  EXPECT_EQ(CallReal("clamp", {5.0, 10.0, 0.0}), 0.0);
  EXPECT_EQ(CallReal("clamp", {-5.0, 0.0, 10.0}), 0.0);
  EXPECT_EQ(CallReal("clamp", {5.0, 0.0, 10.0}), 5.0);
  EXPECT_EQ(CallReal("lerp", {10.0, 20.0, 1.5}), 25.0);
}

TEST(MathLists, RealReadsTheLeadingDecimalNumber) {
  EXPECT_EQ(CallReal("real", {" 12.5xyz"}), 12.5);
  EXPECT_EQ(CallReal("real", {""}), 0.0);
  EXPECT_EQ(CallReal("real", {7.0}), 7.0);
  EXPECT_EQ(CallReal("real", {"12abc"}), 12.0);
  EXPECT_EQ(CallReal("real", {"abc"}), 0.0);
  EXPECT_EQ(CallReal("real", {"\t-1.5e3x"}), -1500.0);
  EXPECT_EQ(CallReal("real", {"+.5"}), 0.5);
  EXPECT_EQ(CallReal("real", {"3.e"}), 3.0);
  EXPECT_EQ(CallReal("real", {"2e+"}), 2.0);
  EXPECT_EQ(CallReal("real", {"."}), 0.0);
  EXPECT_EQ(CallReal("real", {"0x10"}), 0.0);
  EXPECT_EQ(CallReal("real", {"inf"}), 0.0);
  EXPECT_TRUE(std::isinf(CallReal("real", {"1e999"})));
  EXPECT_EQ(CallReal("real", {"\xC3\xA9" "42"}), 42.0);  // bytes above 127 are trimmed too
}

TEST(MathRandom, SeededSequenceRepeats) {
  // The generator's first outputs from seed 1: 41, 18467, 6334, 26500, 19169.
  CallReal("random_set_seed", {1.0});
  EXPECT_EQ(CallReal("random", {32768.0}), 41.0);
  EXPECT_EQ(CallReal("irandom", {32767.0}), 18467.0);
  EXPECT_EQ(CallReal("random_range", {32768.0, 0.0}), 6334.0);
  EXPECT_EQ(CallReal("irandom_range", {0.0, 32767.0}), 26500.0);
  EXPECT_EQ(CallReal("random", {1.0}), 19169.0 / 32768.0);

  std::vector<double> first, second;
  for (auto* seq : {&first, &second}) {
    CallReal("random_set_seed", {123456.0});
    for (int i = 0; i < 5; ++i) {
      seq->push_back(CallReal("random", {100.0}));
      seq->push_back(CallReal("irandom", {9.0}));
      seq->push_back(Call("choose", {"a", 2.0, 3.0}).real);
    }
  }
  EXPECT_EQ(first, second);
}

TEST(MathRandom, StoredSeedIsUnsignedAndSeparateFromTheLaunchSeed) {
  CallReal("random_set_seed", {-1.0});
  EXPECT_EQ(CallReal("random_get_seed", {}), 4294967295.0);
  Random_Seed(2101988);
  EXPECT_EQ(CallReal("random_get_seed", {}), 4294967295.0);
  CallReal("random_set_seed", {4294967298.7});
  EXPECT_EQ(CallReal("random_get_seed", {}), 2.0);
  // Beyond the 64-bit range and NaN: the indefinite integer, low bits 0.
  CallReal("random_set_seed", {1e30});
  EXPECT_EQ(CallReal("random_get_seed", {}), 0.0);
  CallReal("random_set_seed", {NAN});
  EXPECT_EQ(CallReal("random_get_seed", {}), 0.0);
  double mixed = CallReal("randomize", {});
  EXPECT_EQ(CallReal("random_get_seed", {}), static_cast<double>(static_cast<uint32_t>(static_cast<int64_t>(mixed))));
}

TEST(MathRandom, IntegerDrawsCountIn64Bits) {
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(CallReal("irandom", {0.0}), 0.0);
    EXPECT_EQ(CallReal("irandom_range", {3.0, 3.0}), 3.0);
    double r = CallReal("irandom_range", {1.5, 3.0});
    EXPECT_TRUE(r == 1.5 || r == 2.5 || r == 3.5) << r;
  }
  CallReal("random_set_seed", {1.0});
  CallReal("random", {1.0});
  // Draw 18467 of 32768 over 4e9 + 1 values lies above 2^31 and must not wrap.
  EXPECT_EQ(CallReal("irandom", {4e9}), std::trunc(18467.0 / 32768.0 * 4000000001.0));
  CallReal("random_set_seed", {1.0});
  CallReal("random", {1.0});
  EXPECT_EQ(CallReal("irandom_range", {-3e9, 3e9}), std::trunc(18467.0 / 32768.0 * 6000000001.0) - 3e9);
}

TEST(MathRandom, RuntimeDrawsShareTheGenerator) {
  Random_SetSeed(1);
  EXPECT_EQ(Random_Int(10), 0);   // 41
  EXPECT_EQ(Random_Int(10), 5);   // 18467
  EXPECT_EQ(CallReal("random", {32768.0}), 6334.0);
  EXPECT_EQ(Random_Real(), 26500.0f / 32768.0f);
  for (int i = 0; i < 2000; ++i) {
    int r = Random_Int(10000);
    ASSERT_TRUE(r >= 0 && r <= 9999) << r;
  }
}

TEST(MathGeometry, DirectionsAtTheAxes) {
  EXPECT_EQ(CallReal("point_direction", {0.0, 0.0, 0.0, 0.0}), 0.0);
  EXPECT_EQ(CallReal("point_direction", {0.0, 0.0, 1.0, 0.0}), 0.0);
  EXPECT_EQ(CallReal("point_direction", {0.0, 0.0, 0.0, 10.0}), 270.0);
  EXPECT_EQ(CallReal("point_direction", {0.0, 0.0, 0.0, -10.0}), 90.0);
  EXPECT_EQ(CallReal("point_direction", {0.0, 0.0, -1.0, 0.0}), 180.0);
  EXPECT_EQ(CallReal("point_direction", {5.0, 5.0, 6.0, 4.0}), 45.0);
  EXPECT_EQ(CallReal("point_direction", {0.0, 0.0, 1.0, 1.0}), 315.0);
}

TEST(MathGeometry, LengthdirSnapsNearWholeNumbers) {
  double x = CallReal("lengthdir_x", {10.0, 90.0});
  EXPECT_EQ(x, 0.0);
  EXPECT_FALSE(std::signbit(x));
  EXPECT_EQ(CallReal("lengthdir_y", {10.0, 90.0}), -10.0);
  EXPECT_EQ(CallReal("lengthdir_x", {10.0, 180.0}), -10.0);
  EXPECT_EQ(CallReal("lengthdir_y", {10.0, 270.0}), 10.0);
  EXPECT_EQ(CallReal("lengthdir_x", {3.00001, 0.0}), 3.0);
  EXPECT_EQ(CallReal("lengthdir_x", {2.99999, 0.0}), static_cast<double>(2.99999f));
}

TEST(MathGeometry, DistancesAndDotProducts) {
  EXPECT_EQ(CallReal("point_distance", {1.0, 1.0, 4.0, 5.0}), 5.0);
  EXPECT_EQ(CallReal("point_distance_3d", {0.0, 0.0, 0.0, 2.0, 3.0, 6.0}), 7.0);
  EXPECT_EQ(CallReal("point_distance", {0.0, 0.0, 0.1, 0.0}), static_cast<double>(0.1f));
  EXPECT_EQ(CallReal("dot_product", {1.0, 2.0, 3.0, 4.0}), 11.0);
  EXPECT_EQ(CallReal("dot_product_3d", {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}), 32.0);
  EXPECT_EQ(CallReal("dot_product_normalised", {2.0, 0.0, 5.0, 0.0}), 1.0);
  EXPECT_EQ(CallReal("dot_product_normalised", {1.0, 0.0, 0.0, 3.0}), 0.0);
  EXPECT_EQ(CallReal("dot_product_3d_normalised", {0.0, 0.0, 2.0, 0.0, 0.0, -4.0}), -1.0);
  EXPECT_TRUE(std::isnan(CallReal("dot_product_normalised", {0.0, 0.0, 1.0, 0.0})));
}
