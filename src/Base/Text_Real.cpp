#include "Base/Text_Real.h"

#include <cstdio>

#include "Base/Convert.h"

std::string Real_ToText(double d) {
  int32_t n = Convert_RoundInt(d);
  char small[64];
  if (static_cast<double>(n) == d) {
    snprintf(small, sizeof small, "%d", n);
    return small;
  }
  // The runner keeps LC_NUMERIC at "C", so the decimal point is a full stop.
  int len = snprintf(small, sizeof small, "%.2f", d);
  if (len < static_cast<int>(sizeof small)) return small;
  std::string big(static_cast<size_t>(len) + 1, '\0');
  snprintf(big.data(), big.size(), "%.2f", d);
  big.resize(static_cast<size_t>(len));
  return big;
}
