#include <cmath>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "Misc_Call.h"

namespace {

// Central European time: summer time from the last Sunday of March 02:00 to
// the last Sunday of October 03:00.
class Date : public testing::Test {
 protected:
  void SetUp() override {
    const char* tz = getenv("TZ");
    saved_ = tz ? tz : "";
    had_ = tz != nullptr;
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
  }
  void TearDown() override {
    if (had_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  std::string saved_;
  bool had_ = false;
};

double Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return Misc_Call("date_create_datetime",
                   {Misc_Real(y), Misc_Real(mo), Misc_Real(d), Misc_Real(h), Misc_Real(mi), Misc_Real(s)})
      .real();
}
double Get(const char* name, double dt) { return Misc_Call(name, {Misc_Real(dt)}).real(); }
double Get2(const char* name, double a, double b) { return Misc_Call(name, {Misc_Real(a), Misc_Real(b)}).real(); }
std::string Text(const char* name, double dt) { return Misc_Call(name, {Misc_Real(dt)}).text(); }

}  // namespace

TEST_F(Date, FieldsComeBackAsBuiltInWinterAndSummer) {
  double d = Misc_Call("date_create_date", {Misc_Real(2012), Misc_Real(3), Misc_Real(4)}).real();
  EXPECT_EQ(Get("date_get_day", d), 4);
  EXPECT_EQ(Text("date_datetime_string", d), "04/03/2012 00:00:00");

  double summer = Make(2012, 7, 1, 12, 30, 45);
  EXPECT_EQ(Get("date_get_year", summer), 2012);
  EXPECT_EQ(Get("date_get_month", summer), 7);
  EXPECT_EQ(Get("date_get_day", summer), 1);
  EXPECT_EQ(Get("date_get_hour", summer), 12);
  EXPECT_EQ(Get("date_get_minute", summer), 30);
  EXPECT_EQ(Get("date_get_second", summer), 45);
  EXPECT_EQ(Get("date_get_weekday", summer), 0);  // a Sunday
  EXPECT_EQ(Text("date_datetime_string", summer), "01/07/2012 12:30:45");
  EXPECT_EQ(Text("date_time_string", summer), "12:30:45");
  EXPECT_EQ(Text("date_date_string", summer), "01/07/2012");
  // The value is the instant: 10:30:45 UTC, half a second into the second.
  EXPECT_NEAR(summer, 41091 + (10 * 3600 + 30 * 60 + 45.5) / 86400.0, 1e-9);

  // Years before 1970 work too.
  double old = Misc_Call("date_create_date", {Misc_Real(1900), Misc_Real(3), Misc_Real(1)}).real();
  EXPECT_EQ(Text("date_datetime_string", old), "01/03/1900 00:00:00");
  EXPECT_EQ(Get("date_get_weekday", old), 4);  // a Thursday
  EXPECT_EQ(Get("date_leap_year", old), 0);
}

TEST_F(Date, ValidityFollowsTheCalendar) {
  auto valid = [](const char* name, std::vector<RValue> args) { return Misc_Call(name, std::move(args)).real(); };
  EXPECT_EQ(valid("date_valid_date", {Misc_Real(2000), Misc_Real(2), Misc_Real(29)}), 1);
  EXPECT_EQ(valid("date_valid_date", {Misc_Real(1900), Misc_Real(2), Misc_Real(29)}), 0);
  EXPECT_EQ(valid("date_valid_date", {Misc_Real(2004), Misc_Real(2), Misc_Real(29)}), 1);
  EXPECT_EQ(valid("date_valid_date", {Misc_Real(2011), Misc_Real(4), Misc_Real(31)}), 0);
  EXPECT_EQ(valid("date_valid_date", {Misc_Real(2011), Misc_Real(4), Misc_Real(2.5)}), 0);
  EXPECT_EQ(valid("date_valid_date", {Misc_Text("2011"), Misc_Real(4), Misc_Real(2)}), 0);
  EXPECT_EQ(valid("date_valid_date", {Misc_Real(2011), Misc_Real(13), Misc_Real(1)}), 0);
  EXPECT_EQ(valid("date_valid_time", {Misc_Real(24), Misc_Real(0), Misc_Real(0)}), 0);
  EXPECT_EQ(valid("date_valid_time", {Misc_Real(23), Misc_Real(59), Misc_Real(59)}), 1);
  EXPECT_EQ(valid("date_valid_time", {Misc_Real(-1), Misc_Real(0), Misc_Real(0)}), 0);
  EXPECT_EQ(valid("date_valid_datetime",
                  {Misc_Real(2012), Misc_Real(2), Misc_Real(29), Misc_Real(23), Misc_Real(0), Misc_Real(60)}),
            0);
  EXPECT_EQ(valid("date_valid_datetime",
                  {Misc_Real(2012), Misc_Real(2), Misc_Real(29), Misc_Real(23), Misc_Real(0), Misc_Real(59)}),
            1);
}

TEST_F(Date, IncrementsNormaliseAndKeepTheLocalTimeAcrossSummerTime) {
  double eve = Make(2012, 3, 24, 12, 0, 0);  // summer time starts the next night
  EXPECT_EQ(Get2("date_inc_day", eve, 0), eve);
  double next = Get2("date_inc_day", eve, 1);
  EXPECT_EQ(Text("date_datetime_string", next), "25/03/2012 12:00:00");
  EXPECT_EQ(Get2("date_hour_span", eve, next), 23);
  EXPECT_EQ(Text("date_datetime_string", Get2("date_inc_week", eve, 2)), "07/04/2012 12:00:00");
  // Hours are elapsed time: 01:30 plus one hour is 03:30 on that night.
  EXPECT_EQ(Text("date_time_string", Get2("date_inc_hour", Make(2012, 3, 25, 1, 30, 0), 1)), "03:30:00");
  EXPECT_EQ(Text("date_datetime_string", Get2("date_inc_minute", Make(2012, 12, 31, 23, 59, 30), 1)),
            "01/01/2013 00:00:30");
  EXPECT_EQ(Text("date_datetime_string", Get2("date_inc_second", Make(2012, 12, 31, 23, 59, 30), -31)),
            "31/12/2012 23:58:59");

  EXPECT_EQ(Text("date_date_string", Get2("date_inc_month", Make(2011, 1, 31), 1)), "03/03/2011");
  EXPECT_EQ(Text("date_date_string", Get2("date_inc_month", Make(2012, 1, 31), 1)), "02/03/2012");
  EXPECT_EQ(Text("date_date_string", Get2("date_inc_month", Make(2012, 11, 15), 3)), "15/02/2013");
  EXPECT_EQ(Text("date_date_string", Get2("date_inc_year", Make(2012, 2, 29), 1)), "01/03/2013");
  EXPECT_EQ(Text("date_date_string", Get2("date_inc_year", Make(2012, 2, 29), -12)), "29/02/2000");
}

TEST_F(Date, YearFieldsAndMonthLengths) {
  EXPECT_EQ(Get("date_get_day_of_year", Make(2012, 1, 1)), 1);
  EXPECT_EQ(Get("date_get_day_of_year", Make(2012, 12, 31)), 366);
  EXPECT_EQ(Get("date_get_day_of_year", Make(2011, 12, 31)), 365);
  EXPECT_EQ(Get("date_get_hour_of_year", Make(2012, 1, 1, 5)), 5);
  EXPECT_EQ(Get("date_get_minute_of_year", Make(2012, 1, 2, 0, 3)), 24 * 60 + 3);
  EXPECT_EQ(Get("date_get_second_of_year", Make(2012, 3, 1, 0, 0, 7)), (31 + 29) * 86400 + 7);
  EXPECT_EQ(Get("date_get_week", Make(2012, 1, 7)), 0);
  EXPECT_EQ(Get("date_get_week", Make(2012, 1, 8)), 1);
  EXPECT_EQ(Get("date_days_in_month", Make(2012, 2, 10)), 29);
  EXPECT_EQ(Get("date_days_in_month", Make(2013, 2, 10)), 28);
  EXPECT_EQ(Get("date_days_in_month", Make(2013, 6, 30)), 30);
  EXPECT_EQ(Get("date_days_in_month", Make(2013, 12, 31)), 31);
  EXPECT_EQ(Get("date_days_in_year", Make(2000, 6, 1)), 366);
  EXPECT_EQ(Get("date_days_in_year", Make(2100, 6, 1)), 365);
  EXPECT_EQ(Get("date_leap_year", Make(2004, 6, 1)), 1);
}

TEST_F(Date, SpansAndComparisonsUseLocalDaysAndTimes) {
  double a = Make(2012, 5, 1, 6), b = Make(2012, 5, 2, 18);
  EXPECT_EQ(Get2("date_day_span", a, b), 1.5);
  EXPECT_EQ(Get2("date_day_span", b, a), 1.5);
  EXPECT_EQ(Get2("date_hour_span", a, b), 36);
  EXPECT_EQ(Get2("date_second_span", a, b), 36 * 3600);
  EXPECT_DOUBLE_EQ(Get2("date_week_span", a, b), 1.5 / 7);
  EXPECT_DOUBLE_EQ(Get2("date_year_span", Make(2012, 1, 1), Make(2013, 1, 1)), 366 / 365.25);
  // Dates beyond every calendar still give a span, whatever their order.
  EXPECT_EQ(Get2("date_second_span", -1e300, 1e300), 0);
  EXPECT_GT(Get2("date_day_span", 0, 1e300), 1e13);
  EXPECT_EQ(Get2("date_day_span", 1e300, 0), Get2("date_day_span", 0, 1e300));
  EXPECT_GT(Get2("date_year_span", -1e300, Make(2012, 1, 1)), 2.5e10);

  EXPECT_EQ(Get2("date_compare_datetime", a, b), -1);
  EXPECT_EQ(Get2("date_compare_datetime", b, a), 1);
  EXPECT_EQ(Get2("date_compare_datetime", a, a), 0);
  EXPECT_EQ(Get2("date_compare_date", Make(2012, 5, 1, 1), Make(2012, 5, 1, 23)), 0);
  // 00:30 and 23:30 local fall on one UTC day but on two local days.
  double late = Make(2012, 6, 30, 23, 30), early = Make(2012, 7, 1, 0, 30);
  EXPECT_EQ(Get2("date_compare_date", early, late), 1);
  EXPECT_EQ(Get2("date_compare_time", early, late), -1);
  EXPECT_EQ(Get2("date_compare_time", 1.25, 7.25), 0);
  EXPECT_EQ(Get2("date_compare_time", Make(2011, 1, 1, 9), Make(2012, 8, 1, 9)), 0);

  EXPECT_EQ(Get("date_date_of", 40000.75), 40000);
  EXPECT_EQ(Get("date_time_of", 40000.75), 0.75);
  EXPECT_EQ(Get("date_time_of", -1.25), -0.25);
}

TEST_F(Date, BareTimesOfDayHaveNoZone) {
  double t = Misc_Call("date_create_time", {Misc_Real(13), Misc_Real(14), Misc_Real(15)}).real();
  EXPECT_LT(t, 1);
  EXPECT_EQ(Get("date_get_hour", t), 13);
  EXPECT_EQ(Get("date_get_minute", t), 14);
  EXPECT_EQ(Get("date_get_second", t), 15);
  EXPECT_EQ(Text("date_time_string", t), "13:14:15");
  EXPECT_EQ(Text("date_time_string", Get2("date_inc_hour", t, 2)), "15:14:15");
  EXPECT_EQ(Text("date_time_string", 0.75), "18:00:00");
}

TEST_F(Date, ExtremeAmountsGiveTheRefusedDateNotOverflow) {
  const double refused = 25569 - 0.5 / 86400;
  double d = Make(2012, 1, 31);
  EXPECT_NEAR(Get2("date_inc_day", d, 2147483647.0), refused, 1e-9);
  EXPECT_NEAR(Get2("date_inc_week", d, 1e9), refused, 1e-9);
  EXPECT_NEAR(Get2("date_inc_year", d, 2147483647.0), refused, 1e-9);
  EXPECT_NEAR(Get2("date_inc_second", std::nan(""), -5), refused, 1e-9);
  EXPECT_NEAR(Make(-2147483647, 1, 1), refused, 1e-9);
  EXPECT_EQ(Get("date_get_day", std::nan("")), 1);
  // A year past the 32-bit range (its years since 1900 still fit).
  EXPECT_GT(Get("date_get_year", 7.84352e11), 2147483647.0);
}

TEST_F(Date, TheClockReadsNow) {
  double now = Misc_Call("date_current_datetime").real();
  EXPECT_NEAR(Misc_Call("date_current_date").real(), now, 2 / 86400.0);
  EXPECT_NEAR(Misc_Call("date_current_time").real(), now, 2 / 86400.0);
  EXPECT_NEAR(now, (double)time(nullptr) / 86400 + 25569, 2 / 86400.0);
  EXPECT_EQ(Get("date_is_today", now), 1);
  EXPECT_EQ(Get("date_is_today", now - 1), 0);
  EXPECT_EQ(Get("date_is_today", now - 366), 0);
}
