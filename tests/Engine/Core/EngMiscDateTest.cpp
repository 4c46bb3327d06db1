#include <gtest/gtest.h>

#include <ctime>

#include "Engine/Core/EngMiscDate.h"
#include "EngFileTestSupport.h"

namespace {

_EngMiscDate Date(unsigned year, int month, int day)
{
    return _EngMiscDate{year, (EngInt8)month, (EngInt8)day, {0, 0}};
}

void ExpectDate(const _EngMiscDate& date, unsigned year, int month, int day)
{
    EXPECT_EQ(date.year, year);
    EXPECT_EQ(date.month, month);
    EXPECT_EQ(date.day, day);
}

_EngMiscDate PreviousOf(unsigned year, int month, int day)
{
    _EngMiscDate date = Date(year, month, day);
    EngMiscGetPreviousDay(&date);
    return date;
}

} // namespace

TEST(EngMiscDate, PreviousDayFollowsTheRealLeapYearRule)
{
    ExpectDate(PreviousOf(2024, 3, 1), 2024, 2, 29);
    ExpectDate(PreviousOf(2023, 3, 1), 2023, 2, 28);
    ExpectDate(PreviousOf(2100, 3, 1), 2100, 2, 28);
    ExpectDate(PreviousOf(2000, 3, 1), 2000, 2, 29);
    ExpectDate(PreviousOf(2024, 1, 1), 2023, 12, 31);
    ExpectDate(PreviousOf(2024, 5, 1), 2024, 4, 30);
    ExpectDate(PreviousOf(2024, 5, 17), 2024, 5, 16);
}

TEST(EngMiscDate, PreviousDayLeavesInvalidDates)
{
    int mark = LogMark();
    ExpectDate(PreviousOf(2024, 13, 1), 2024, 13, 1);
    EXPECT_TRUE(LoggedSince(mark, "Invalid date 2024:13:01"));
    ExpectDate(PreviousOf(2023, 2, 29), 2023, 2, 29);
    ExpectDate(PreviousOf(2023, 4, 0), 2023, 4, 0);
}

TEST(EngMiscDate, DaysInMonth)
{
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 1900), 28);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 2000), 29);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 2024), 29);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(4, 2024), 30);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(12, 2024), 31);
    int mark = LogMark();
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(0, 2024), 0);
    EXPECT_TRUE(LoggedSince(mark, "Invalid month 0"));
    EXPECT_EQ(EngMiscGetDaysInMonthOfDate(nullptr), 0);
}

TEST(EngMiscDate, WeekdaysAndDaysOfYear)
{
    _EngMiscDate d = Date(2024, 12, 31);
    EXPECT_EQ(EngMiscGetDayOfWeekNumberForDate(&d), 2);
    d = Date(2000, 1, 1);
    EXPECT_EQ(EngMiscGetDayOfWeekNumberForDate(&d), 6);
    d = Date(1969, 12, 31);
    EXPECT_EQ(EngMiscGetDayOfWeekNumberForDate(&d), 3);
    EXPECT_EQ(EngMiscGetDayOfWeekNumberForDate(nullptr), -1);
    d = Date(2024, 12, 31);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&d), 366);
    d = Date(2023, 3, 1);
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&d), 60);
}

TEST(EngMiscDate, WeekdayAgreesWithTheRuntimeOverManyYears)
{
    for (unsigned year = 1901; year < 2200; year += 7) {
        for (int month = 1; month <= 12; month++) {
            struct tm t = {};
            t.tm_year = (int)year - 1900;
            t.tm_mon = month - 1;
            t.tm_mday = 13;
            t.tm_hour = 12;
            timegm(&t);
            _EngMiscDate d = Date(year, month, 13);
            ASSERT_EQ(EngMiscGetDayOfWeekNumberForDate(&d), t.tm_wday) << year << "-" << month;
        }
    }
}

TEST(EngMiscDate, IsoWeekNumbersAtYearEdges)
{
    struct Case {
        unsigned year;
        int month, day, week;
    } cases[] = {
        {2024, 12, 31, 1}, {2021, 1, 1, 53}, {2021, 1, 4, 1},  {2020, 12, 31, 53}, {2019, 12, 30, 1},
        {2016, 1, 3, 53},  {2015, 12, 31, 53}, {2018, 1, 1, 1}, {2023, 1, 1, 52},  {2024, 6, 15, 24},
        {2026, 1, 1, 1},   {2027, 1, 1, 53},
    };
    for (const Case& c : cases) {
        _EngMiscDate d = Date(c.year, c.month, c.day);
        EXPECT_EQ(EngMiscGetWeekNumberForDateISO(&d), c.week) << c.year << "-" << c.month << "-" << c.day;
    }
    EXPECT_EQ(EngMiscGetWeekNumberForDateISO(nullptr), 0);
}

TEST(EngMiscDate, IsoWeekAgreesWithTheRuntimeForEveryDayOfADecade)
{
    _EngMiscDate d = Date(2031, 1, 1);
    for (int i = 0; i < 3700; i++) {
        struct tm t = {};
        t.tm_year = (int)d.year - 1900;
        t.tm_mon = d.month - 1;
        t.tm_mday = d.day;
        t.tm_hour = 12;
        timegm(&t);
        char text[8];
        strftime(text, sizeof text, "%V", &t);
        ASSERT_EQ(EngMiscGetWeekNumberForDateISO(&d), atoi(text)) << d.year << "-" << (int)d.month << "-"
                                                                   << (int)d.day;
        EngMiscGetPreviousDay(&d);
    }
}

TEST(EngMiscDate, LaterComparesYearThenMonthThenDay)
{
    EXPECT_TRUE(EngMiscIsDateLater(Date(2025, 1, 1), Date(2024, 12, 31)));
    EXPECT_TRUE(EngMiscIsDateLater(Date(2024, 3, 1), Date(2024, 2, 29)));
    EXPECT_TRUE(EngMiscIsDateLater(Date(2024, 3, 2), Date(2024, 3, 1)));
    EXPECT_FALSE(EngMiscIsDateLater(Date(2024, 3, 1), Date(2024, 3, 1)));
    EXPECT_FALSE(EngMiscIsDateLater(Date(2023, 12, 31), Date(2024, 1, 1)));
}

TEST(EngMiscDate, MinutesKeyOrdersDatesAndTimes)
{
    _EngMiscDateAndTime a = {Date(2024, 1, 1), 0, 0, 0, {0, 0}};
    _EngMiscDateAndTime b = a;
    b.minute = 1;
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(&b) - EngMiscGetMinutesFromDateAndTime(&a), 1u);
    b = a;
    b.date = Date(2024, 1, 2);
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(&b) - EngMiscGetMinutesFromDateAndTime(&a), 1440u);
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(&a), 60u * 24u * (2024u * 366u + 1u));
    EXPECT_EQ(EngMiscGetMinutesFromDateAndTime(nullptr), 0u);
}

TEST(EngMiscDate, ValidityChecksAndReportsOnlyWhenAsked)
{
    _EngMiscDate d = Date(2024, 2, 29);
    EXPECT_TRUE(EngMiscIsDateValid(&d, true));
    int mark = LogMark();
    d = Date(2023, 2, 29);
    EXPECT_FALSE(EngMiscIsDateValid(&d, false));
    EXPECT_EQ(MessagesSince(mark), 0);
    EXPECT_FALSE(EngMiscIsDateValid(&d, true));
    EXPECT_TRUE(LoggedSince(mark, "Invalid day 29 (28)."));
    d = Date(1899, 5, 5);
    EXPECT_FALSE(EngMiscIsDateValid(&d, true));
    EXPECT_TRUE(LoggedSince(mark, "Invalid year 1899."));
    d = Date(2024, 0, 5);
    EXPECT_FALSE(EngMiscIsDateValid(&d, true));
    EXPECT_TRUE(LoggedSince(mark, "Invalid month 0."));
}

TEST(EngMiscDate, CurrentDateIsTodayAndPaddingIsZero)
{
    _EngMiscDateAndTime now;
    memset(&now, 0xAB, sizeof now);
    EngMiscGetCurrentDateAndTime(&now);
    time_t t = time(nullptr);
    struct tm local;
    localtime_r(&t, &local);
    EXPECT_EQ(now.date.year, (unsigned)local.tm_year + 1900);
    EXPECT_TRUE(EngMiscIsDateValid(&now.date, true));
    EXPECT_LT(now.hour, 24u);
    EXPECT_EQ(now.padding[0], 0);
    EXPECT_EQ(now.date.padding[1], 0);
}
