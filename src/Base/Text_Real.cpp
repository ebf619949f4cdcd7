#include "Base/Text_Real.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>


namespace {
// The C locale, made once; installed for this thread around each formatting.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

std::string FormatV(const char* fmt, va_list args) {
  locale_t old = uselocale(CLocale());
  va_list again;
  va_copy(again, args);
  char small[128];
  int len = vsnprintf(small, sizeof small, fmt, args);
  std::string out;
  if (len >= 0 && len < static_cast<int>(sizeof small)) {
    out.assign(small, static_cast<size_t>(len));
  } else if (len > 0) {
    out.resize(static_cast<size_t>(len) + 1);
    vsnprintf(out.data(), out.size(), fmt, again);
    out.resize(static_cast<size_t>(len));
  }
  va_end(again);
  uselocale(old);
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Widths and decimals past this many columns are cut to it, so that a stray
// argument cannot ask for gigabytes of blanks or zeros.
constexpr int64_t kMaxColumns = 1 << 20;

// A column count of string_format: truncated, limited to +-kMaxColumns, NaN 0.
int64_t Columns(double d) {
  if (std::isnan(d)) return 0;
  return static_cast<int64_t>(std::trunc(std::clamp(d, -static_cast<double>(kMaxColumns), static_cast<double>(kMaxColumns))));
}
}  // namespace

std::string Text_Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string out = FormatV(fmt, args);
  va_end(args);
  return out;
}

namespace {
constexpr std::array<uint32_t, 1000> SmallNumberDigits() {
  static_assert(std::endian::native == std::endian::little, "a word's lowest byte comes first");
  std::array<uint32_t, 1000> words{};
  for (uint32_t m = 0; m < 1000; ++m) {
    uint32_t count = m >= 100 ? 3 : m >= 10 ? 2 : 1;
    uint32_t w = count << 24;
    for (uint32_t k = count, x = m; k-- > 0; x /= 10) w |= ('0' + x % 10) << (8 * k);
    words[m] = w;
  }
  return words;
}
}  // namespace

constinit const std::array<uint32_t, 1000> g_SmallNumberDigits = SmallNumberDigits();

size_t Real_ToWholeText(double d, char (&out)[12]) {
  // A whole number in the 32-bit range (NaN fails the range test).
  if (!(d >= -2147483648.0 && d <= 2147483647.0)) return 0;
  int32_t n = static_cast<int32_t>(d);
  if (static_cast<double>(n) != d) return 0;
  char* p = out;
  if (n < 0) *p++ = '-';
  uint32_t m = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  return static_cast<size_t>(p - out) + Text_WholeDigits(m, p);
}

std::string Real_ToText(double d) {
  char digits[12];
  if (size_t length = Real_ToWholeText(d, digits)) return std::string(digits, length);
  return Text_Format("%.2f", d);
}

std::string Real_ToTextFormatted(double d, double total, double decimals) {
  int64_t dec = std::max<int64_t>(Columns(decimals), 0);
  int64_t width = std::clamp<int64_t>(Columns(total) - dec, -kMaxColumns, kMaxColumns);
  return Text_Format("%*.*f", static_cast<int>(width), static_cast<int>(dec), d);
}

double Real_FromText(const char* text) {
  if (!text) return 0.0;
  const char* p = text;
  while (*p && static_cast<signed char>(*p) < 33) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  // Scan the longest decimal number, then convert exactly that span.
  const char* start = p;
  const char* q = p;
  while (IsDigit(*q)) ++q;
  bool digits = q != start;
  if (*q == '.') {
    const char* frac = q + 1;
    while (IsDigit(*frac)) ++frac;
    if (digits || frac != q + 1) {
      digits = true;
      q = frac;
    }
  }
  if (!digits) return 0.0;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    if (*e == '+' || *e == '-') ++e;
    if (IsDigit(*e)) {
      while (IsDigit(*e)) ++e;
      q = e;
    }
  }
  double value = 0.0;
  auto res = std::from_chars(start, q, value, std::chars_format::general);
  // Out of range: from_chars leaves the value alone; give what strtod gives.
  if (res.ec == std::errc::result_out_of_range) {
    value = strtod_l(start, nullptr, CLocale());
  }
  return negative ? -value : value;
}
