// Date-times are doubles: days since 1899-12-30 00:00 UTC with the time of day
// as the fraction (25569 is 1970-01-01). A value of 0 to below 1 is a bare
// time of day and is broken down without a zone; every other value is an
// instant whose fields are local time.
#include "Function/Function_Date.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "Base/Convert.h"
#include "Code/Code_BuiltinTable.h"

namespace {

constexpr double UNIX_EPOCH_DAY = 25569.0;
constexpr double SECONDS_PER_DAY = 86400.0;

// Whole seconds since 1970-01-01 00:00 UTC. Values are made half a second
// into their second, so flooring recovers the second exactly.
int64_t Date_Seconds(double dt) { return Convert_TruncInt64(std::floor((dt - UNIX_EPOCH_DAY) * SECONDS_PER_DAY)); }
double Date_FromSeconds(int64_t s) { return ((double)s + 0.5) / SECONDS_PER_DAY + UNIX_EPOCH_DAY; }

bool Date_IsTimeOfDay(double dt) { return dt >= 0.0 && dt < 1.0; }

// The calendar fields of a value; zeroed (day 1 of January 1900) when the
// system cannot break the value down.
tm Date_Break(double dt) {
  time_t s = (time_t)Date_Seconds(dt);
  tm t{};
  bool ok = Date_IsTimeOfDay(dt) ? gmtime_r(&s, &t) != nullptr : localtime_r(&s, &t) != nullptr;
  if (!ok) {
    t = tm{};
    t.tm_mday = 1;
  }
  return t;
}

// Builds fields (out-of-range ones normalised) back into a value of the same
// kind as `like`; summer time is taken from the date, not assumed.
double Date_Build(tm t, double like) {
  time_t s;
  if (Date_IsTimeOfDay(like)) {
    s = timegm(&t);
  } else {
    t.tm_isdst = -1;
    s = mktime(&t);
  }
  return Date_FromSeconds((int64_t)s);
}

// What a build the system refuses gives: the second before 1970.
double Date_Refused() { return Date_FromSeconds(-1); }

// field := field + amount; false when the sum does not fit a field.
bool Date_AddToField(int* field, int64_t amount) {
  int64_t sum = (int64_t)*field + amount;
  if (sum < INT32_MIN || sum > INT32_MAX) return false;
  *field = (int)sum;
  return true;
}

bool Date_IsLeap(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int Date_DaysInMonth(int64_t year, int month /* 1 to 12 */) {
  static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && Date_IsLeap(year) ? 29 : lengths[month - 1];
}

int64_t Date_Year(const tm& t) { return (int64_t)t.tm_year + 1900; }
int64_t Date_SecondOfYear(const tm& t) { return (int64_t)t.tm_yday * 86400 + t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec; }
int Date_SecondOfDay(const tm& t) { return t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec; }

int Date_Sign(int64_t d) { return d > 0 ? 1 : d < 0 ? -1 : 0; }

// -------------------------------------------------------------- clock, making

void F_DateCurrentDatetime(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Result.val = Date_FromSeconds((int64_t)time(nullptr));
}

double Date_Create(double y, double mo, double d, double h, double mi, double s) {
  tm t{};
  t.tm_year = -1900;
  t.tm_mon = -1;
  if (!Date_AddToField(&t.tm_year, Convert_RoundInt(y)) || !Date_AddToField(&t.tm_mon, Convert_RoundInt(mo)))
    return Date_Refused();
  t.tm_mday = Convert_RoundInt(d);
  t.tm_hour = Convert_RoundInt(h);
  t.tm_min = Convert_RoundInt(mi);
  t.tm_sec = Convert_RoundInt(s);
  return Date_Build(t, UNIX_EPOCH_DAY);
}

void F_DateCreateDatetime(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_Create(RValue_Real(arg[0]), RValue_Real(arg[1]), RValue_Real(arg[2]), RValue_Real(arg[3]),
                           RValue_Real(arg[4]), RValue_Real(arg[5]));
}

void F_DateCreateDate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_Create(RValue_Real(arg[0]), RValue_Real(arg[1]), RValue_Real(arg[2]), 0, 0, 0);
}

// A bare time of day, read back by the hour, minute and second getters.
void F_DateCreateTime(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int64_t s = (int64_t)RValue_RoundInt(arg[0]) * 3600 + (int64_t)RValue_RoundInt(arg[1]) * 60 + RValue_RoundInt(arg[2]);
  Result.val = ((double)s + 0.5) / SECONDS_PER_DAY;
}

// -------------------------------------------------------------------- validity

// Each of the arguments a real without a fraction.
bool Date_AllWhole(int argc, const RValue* arg, int need) {
  if (argc != need) return false;
  for (int i = 0; i < argc; ++i)
    if (arg[i].kind != VALUE_REAL || arg[i].val != std::trunc(arg[i].val)) return false;
  return true;
}

bool Date_ValidDate(const RValue* arg) {
  int y = RValue_TruncInt(arg[0]), mo = RValue_TruncInt(arg[1]), d = RValue_TruncInt(arg[2]);
  return y >= 0 && mo >= 1 && mo <= 12 && d >= 1 && d <= Date_DaysInMonth(y, mo);
}

bool Date_ValidTime(const RValue* arg) {
  int h = RValue_TruncInt(arg[0]), mi = RValue_TruncInt(arg[1]), s = RValue_TruncInt(arg[2]);
  return h >= 0 && h <= 23 && mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

void F_DateValidDatetime(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  Result.val = Date_AllWhole(argc, arg, 6) && Date_ValidDate(arg) && Date_ValidTime(arg + 3);
}
void F_DateValidDate(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  Result.val = Date_AllWhole(argc, arg, 3) && Date_ValidDate(arg);
}
void F_DateValidTime(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  Result.val = Date_AllWhole(argc, arg, 3) && Date_ValidTime(arg);
}

// ------------------------------------------------------------------ increments

// Adds to one calendar field and builds the fields back (normalising).
double Date_IncField(double dt, int tm::*field, int64_t amount) {
  tm t = Date_Break(dt);
  if (!Date_AddToField(&(t.*field), amount)) return Date_Refused();
  return Date_Build(t, dt);
}

// Adds elapsed seconds.
double Date_IncSeconds(double dt, int64_t seconds) {
  int64_t s;
  if (__builtin_add_overflow(Date_Seconds(dt), seconds, &s)) return Date_Refused();
  return Date_FromSeconds(s);
}

void F_DateIncYear(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncField(RValue_Real(arg[0]), &tm::tm_year, RValue_RoundInt(arg[1]));
}
void F_DateIncMonth(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncField(RValue_Real(arg[0]), &tm::tm_mon, RValue_RoundInt(arg[1]));
}
void F_DateIncWeek(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncField(RValue_Real(arg[0]), &tm::tm_mday, 7 * (int64_t)RValue_RoundInt(arg[1]));
}
void F_DateIncDay(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncField(RValue_Real(arg[0]), &tm::tm_mday, RValue_RoundInt(arg[1]));
}
void F_DateIncHour(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncSeconds(RValue_Real(arg[0]), 3600 * (int64_t)RValue_RoundInt(arg[1]));
}
void F_DateIncMinute(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncSeconds(RValue_Real(arg[0]), 60 * (int64_t)RValue_RoundInt(arg[1]));
}
void F_DateIncSecond(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Date_IncSeconds(RValue_Real(arg[0]), RValue_RoundInt(arg[1]));
}

// ---------------------------------------------------------------------- fields

// Handlers that read one number from the breakdown of their argument.
template <double (*Field)(const tm&)>
void F_DateField(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = Field(Date_Break(RValue_Real(arg[0])));
}

double Date_GetYear(const tm& t) { return (double)Date_Year(t); }
double Date_GetMonth(const tm& t) { return t.tm_mon + 1; }
double Date_GetWeek(const tm& t) { return t.tm_yday / 7; }
double Date_GetDay(const tm& t) { return t.tm_mday; }
double Date_GetHour(const tm& t) { return t.tm_hour; }
double Date_GetMinute(const tm& t) { return t.tm_min; }
double Date_GetSecond(const tm& t) { return t.tm_sec; }
double Date_GetWeekday(const tm& t) { return t.tm_wday; }
double Date_GetDayOfYear(const tm& t) { return t.tm_yday + 1; }
double Date_GetHourOfYear(const tm& t) { return (double)(Date_SecondOfYear(t) / 3600); }
double Date_GetMinuteOfYear(const tm& t) { return (double)(Date_SecondOfYear(t) / 60); }
double Date_GetSecondOfYear(const tm& t) { return (double)Date_SecondOfYear(t); }
double Date_GetDaysInMonth(const tm& t) { return Date_DaysInMonth(Date_Year(t), t.tm_mon + 1); }
double Date_GetDaysInYear(const tm& t) { return Date_IsLeap(Date_Year(t)) ? 366 : 365; }
double Date_GetLeapYear(const tm& t) { return Date_IsLeap(Date_Year(t)); }

void F_DateIsToday(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  tm t = Date_Break(RValue_Real(arg[0]));
  time_t now = time(nullptr);
  tm today{};
  localtime_r(&now, &today);
  Result.val = t.tm_year == today.tm_year && t.tm_mon == today.tm_mon && t.tm_yday == today.tm_yday;
}

void F_DateDateOf(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Result.val = RValue_TruncInt(arg[0]);
}
void F_DateTimeOf(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double dt = RValue_Real(arg[0]);
  Result.val = dt - std::trunc(dt);
}

// ------------------------------------------------------- spans and comparisons

// |s1 - s2| in units of Unit seconds (not rounded): a year is 365.25 days, a month 30.4375.
// The difference is taken unsigned: seconds far apart (a date beyond the
// 64-bit range reads as its lowest second) would overflow a signed one.
template <int64_t Unit>
void F_DateSpan(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int64_t a = Date_Seconds(RValue_Real(arg[0])), b = Date_Seconds(RValue_Real(arg[1]));
  uint64_t d = a > b ? (uint64_t)a - (uint64_t)b : (uint64_t)b - (uint64_t)a;
  Result.val = (double)d / (double)Unit;
}

void F_DateCompareDatetime(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  double a = RValue_Real(arg[0]), b = RValue_Real(arg[1]);
  Result.val = a == b ? 0 : a > b ? 1 : -1;
}
// The local calendar days of the two values.
void F_DateCompareDate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  tm a = Date_Break(RValue_Real(arg[0])), b = Date_Break(RValue_Real(arg[1]));
  Result.val = a.tm_year != b.tm_year ? Date_Sign(a.tm_year - b.tm_year) : Date_Sign(a.tm_yday - b.tm_yday);
}
// The local times of day of the two values.
void F_DateCompareTime(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  tm a = Date_Break(RValue_Real(arg[0])), b = Date_Break(RValue_Real(arg[1]));
  Result.val = Date_Sign(Date_SecondOfDay(a) - Date_SecondOfDay(b));
}

// ------------------------------------------------------------------------ text

template <const char* Format>
void F_DateText(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  tm t = Date_Break(RValue_Real(arg[0]));
  char text[64];
  strftime(text, sizeof text, Format, &t);
  RValue_SetString(&Result, text);
}

constexpr char DATETIME_FORMAT[] = "%d/%m/%Y %H:%M:%S";
constexpr char DATE_FORMAT[] = "%d/%m/%Y";
constexpr char TIME_FORMAT[] = "%H:%M:%S";

}  // namespace

void Function_Date_Init() {
  Function_Add("date_current_datetime", F_DateCurrentDatetime, 0);
  Function_Add("date_current_date", F_DateCurrentDatetime, 0);
  Function_Add("date_current_time", F_DateCurrentDatetime, 0);
  Function_Add("date_create_datetime", F_DateCreateDatetime, 6);
  Function_Add("date_create_date", F_DateCreateDate, 3);
  Function_Add("date_create_time", F_DateCreateTime, 3);
  Function_Add("date_valid_datetime", F_DateValidDatetime, 6);
  Function_Add("date_valid_date", F_DateValidDate, 3);
  Function_Add("date_valid_time", F_DateValidTime, 3);
  Function_Add("date_inc_year", F_DateIncYear, 2);
  Function_Add("date_inc_month", F_DateIncMonth, 2);
  Function_Add("date_inc_week", F_DateIncWeek, 2);
  Function_Add("date_inc_day", F_DateIncDay, 2);
  Function_Add("date_inc_hour", F_DateIncHour, 2);
  Function_Add("date_inc_minute", F_DateIncMinute, 2);
  Function_Add("date_inc_second", F_DateIncSecond, 2);
  Function_Add("date_get_year", F_DateField<Date_GetYear>, 1);
  Function_Add("date_get_month", F_DateField<Date_GetMonth>, 1);
  Function_Add("date_get_week", F_DateField<Date_GetWeek>, 1);
  Function_Add("date_get_day", F_DateField<Date_GetDay>, 1);
  Function_Add("date_get_hour", F_DateField<Date_GetHour>, 1);
  Function_Add("date_get_minute", F_DateField<Date_GetMinute>, 1);
  Function_Add("date_get_second", F_DateField<Date_GetSecond>, 1);
  Function_Add("date_get_weekday", F_DateField<Date_GetWeekday>, 1);
  Function_Add("date_get_day_of_year", F_DateField<Date_GetDayOfYear>, 1);
  Function_Add("date_get_hour_of_year", F_DateField<Date_GetHourOfYear>, 1);
  Function_Add("date_get_minute_of_year", F_DateField<Date_GetMinuteOfYear>, 1);
  Function_Add("date_get_second_of_year", F_DateField<Date_GetSecondOfYear>, 1);
  Function_Add("date_days_in_month", F_DateField<Date_GetDaysInMonth>, 1);
  Function_Add("date_days_in_year", F_DateField<Date_GetDaysInYear>, 1);
  Function_Add("date_leap_year", F_DateField<Date_GetLeapYear>, 1);
  Function_Add("date_is_today", F_DateIsToday, 1);
  Function_Add("date_date_of", F_DateDateOf, 1);
  Function_Add("date_time_of", F_DateTimeOf, 1);
  Function_Add("date_year_span", F_DateSpan<31557600>, 2);
  Function_Add("date_month_span", F_DateSpan<2629800>, 2);
  Function_Add("date_week_span", F_DateSpan<604800>, 2);
  Function_Add("date_day_span", F_DateSpan<86400>, 2);
  Function_Add("date_hour_span", F_DateSpan<3600>, 2);
  Function_Add("date_minute_span", F_DateSpan<60>, 2);
  Function_Add("date_second_span", F_DateSpan<1>, 2);
  Function_Add("date_compare_datetime", F_DateCompareDatetime, 2);
  Function_Add("date_compare_date", F_DateCompareDate, 2);
  Function_Add("date_compare_time", F_DateCompareTime, 2);
  Function_Add("date_datetime_string", F_DateText<DATETIME_FORMAT>, 1);
  Function_Add("date_date_string", F_DateText<DATE_FORMAT>, 1);
  Function_Add("date_time_string", F_DateText<TIME_FORMAT>, 1);
}
