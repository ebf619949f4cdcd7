/* A small shared library for the native-call tests: one function per call
   shape the tests need. */
#include <stdio.h>
#include <string.h>

static int calls = 0;
static char buffer[256];

double td_calls(void) { return calls; }
double td_answer(void) { ++calls; return 42.0; }
double td_half(double a) { ++calls; return a / 2; }
double td_length(const char* s) { ++calls; return s ? (double)strlen(s) : -1.0; }
const char* td_upper(const char* s) {
  size_t i = 0;
  ++calls;
  for (; s[i] && i < sizeof buffer - 1; ++i) buffer[i] = (s[i] >= 'a' && s[i] <= 'z') ? s[i] - 32 : s[i];
  buffer[i] = 0;
  return buffer;
}
const char* td_null(void) { ++calls; return NULL; }
/* Each argument kind in every position. */
const char* td_rsrs(double a, const char* b, double c, const char* d) {
  ++calls;
  snprintf(buffer, sizeof buffer, "%g|%s|%g|%s", a, b ? b : "(null)", c, d ? d : "(null)");
  return buffer;
}
double td_srsr(const char* a, double b, const char* c, double d) {
  ++calls;
  return (double)strlen(a) * 1000 + b * 100 + (double)strlen(c) * 10 + d;
}
double td_sum5(double a, double b, double c, double d, double e) { ++calls; return a + 2 * b + 3 * c + 4 * d + 5 * e; }
double td_sum16(double a1, double a2, double a3, double a4, double a5, double a6, double a7, double a8, double a9,
                double a10, double a11, double a12, double a13, double a14, double a15, double a16) {
  ++calls;
  return a1 + 2 * a2 + 3 * a3 + 4 * a4 + 5 * a5 + 6 * a6 + 7 * a7 + 8 * a8 + 9 * a9 + 10 * a10 + 11 * a11 +
         12 * a12 + 13 * a13 + 14 * a14 + 15 * a15 + 16 * a16;
}
