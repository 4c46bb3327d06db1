#include "Engine/Core/EngMiscDate.h"

#include <ctime>

#include "Engine/Core/EngDebug.h"

namespace {

enum { k_sunday = 0, k_monday = 1, k_tuesday = 2, k_wednesday = 3, k_thursday = 4 };

bool IsLeapYear(long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool LocalNow(struct tm* out)
{
    time_t now = time(nullptr);
    return localtime_r(&now, out) != nullptr;
}

void FillDate(_EngMiscDate* date, const struct tm& now)
{
    date->year = (EngUInt32)(now.tm_year + 1900);
    date->month = (EngInt8)(now.tm_mon + 1);
    date->day = (EngInt8)now.tm_mday;
    date->padding[0] = 0;
    date->padding[1] = 0;
}

// Days since 1970-01-01 of a proleptic Gregorian date; months outside 1 to 12 and days beyond the month
// are carried over, as a calendar normalisation does.
long long DaysFromCivil(long long year, long long month, long long day)
{
    long long months = year * 12 + (month - 1);
    year = months >= 0 ? months / 12 : -((-months + 11) / 12);
    month = months - year * 12 + 1;
    year -= month <= 2;
    long long era = (year >= 0 ? year : year - 399) / 400;
    long long year_of_era = year - era * 400;
    long long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

int WeekdayOf(long long year, int month, int day)
{
    long long days = DaysFromCivil(year, month, day);
    // 1970-01-01 was a Thursday.
    return (int)(((days % 7) + 7 + k_thursday) % 7);
}

int DaysBeforeMonth(int month, unsigned year)
{
    int days = 0;
    for (int m = 1; m < month; m++)
        days += EngMiscGetNumberOfDaysInMonth((signed char)m, year);
    return days;
}

bool HasValidMonthAndDay(const _EngMiscDate* date)
{
    return date->month >= 1 && date->month <= 12 && date->day >= 1 &&
           date->day <= EngMiscGetNumberOfDaysInMonth(date->month, date->year);
}

// Week of the year counted from the first Monday (0 to 53).
int MondayWeekOfYear(const _EngMiscDate* date)
{
    int day_of_year = DaysBeforeMonth(date->month, date->year) + date->day - 1;
    int weekday = WeekdayOf(date->year, date->month, date->day);
    return (day_of_year + 7 - (weekday + 6) % 7) / 7;
}

} // namespace

void EngMiscGetCurrentDate(_EngMiscDate* date)
{
    struct tm now;
    if (date && LocalNow(&now))
        FillDate(date, now);
}

void EngMiscGetCurrentDateAndTime(_EngMiscDateAndTime* date_and_time)
{
    struct tm now;
    if (!date_and_time || !LocalNow(&now))
        return;
    FillDate(&date_and_time->date, now);
    date_and_time->hour = (EngUInt32)now.tm_hour;
    date_and_time->minute = (EngUInt8)now.tm_min;
    date_and_time->second = (EngUInt8)now.tm_sec;
    date_and_time->padding[0] = 0;
    date_and_time->padding[1] = 0;
}

void EngMiscGetCurrentTime(int* hour, int* minute, int* second)
{
    struct tm now;
    if (!LocalNow(&now))
        return;
    if (hour)
        *hour = now.tm_hour;
    if (minute)
        *minute = now.tm_min;
    if (second)
        *second = now.tm_sec;
}

int EngMiscGetNumberOfDaysInMonth(signed char month, unsigned year)
{
    static const int k_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        DebugError(ENG_FUNC, "Invalid month %d", month);
        return 0;
    }
    if (month == 2 && IsLeapYear(year))
        return 29;
    return k_days[month - 1];
}

int EngMiscGetDaysInMonthOfDate(const _EngMiscDate* date)
{
    return date ? EngMiscGetNumberOfDaysInMonth(date->month, date->year) : 0;
}

signed char EngMiscGetDayOfWeekNumberForDate(const _EngMiscDate* date)
{
    if (!date) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return -1;
    }
    return (signed char)WeekdayOf(date->year, date->month, date->day);
}

int EngMiscGetDayOfYearForDate(const _EngMiscDate* date)
{
    if (!date) {
        DebugError(ENG_FUNC, "No date.");
        return 0;
    }
    if (date->month < 1 || date->month > 12) {
        DebugError(ENG_FUNC, "Invalid month %d.", date->month);
        return 0;
    }
    return DaysBeforeMonth(date->month, date->year) + date->day;
}

int EngMiscGetWeekNumberForDateISO(const _EngMiscDate* date)
{
    if (!date) {
        DebugError(ENG_FUNC, "No date.");
        return 0;
    }
    if (!HasValidMonthAndDay(date)) {
        DebugError(ENG_FUNC, "Invalid date %04d:%02d:%02d", (int)date->year, date->month, date->day);
        return 0;
    }
    int week = MondayWeekOfYear(date);
    int first_weekday = WeekdayOf(date->year, 1, 1);
    if (first_weekday >= k_tuesday && first_weekday <= k_thursday) {
        week++;
    } else if (first_weekday != k_monday && week == 0) {
        _EngMiscDate last_of_previous = {date->year - 1, 12, 31, {0, 0}};
        return EngMiscGetWeekNumberForDateISO(&last_of_previous);
    }
    int last_weekday = WeekdayOf(date->year, 12, 31);
    if (week == 53 && last_weekday >= k_monday && last_weekday <= k_wednesday)
        week = 1;
    return week;
}

void EngMiscGetPreviousDay(_EngMiscDate* date)
{
    if (!date)
        return;
    if (!HasValidMonthAndDay(date)) {
        DebugError(ENG_FUNC, "Invalid date %04d:%02d:%02d", (int)date->year, date->month, date->day);
        return;
    }
    if (date->day > 1) {
        date->day--;
        return;
    }
    if (date->month > 1) {
        date->month--;
    } else {
        date->month = 12;
        date->year--;
    }
    date->day = (EngInt8)EngMiscGetDaysInMonthOfDate(date);
}

bool EngMiscIsDateLater(_EngMiscDate a, _EngMiscDate b)
{
    if (a.year != b.year)
        return a.year > b.year;
    if (a.month != b.month)
        return a.month > b.month;
    return a.day > b.day;
}

unsigned EngMiscGetMinutesFromDateAndTime(const _EngMiscDateAndTime* date_and_time)
{
    if (!date_and_time) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    const _EngMiscDate& date = date_and_time->date;
    unsigned day_of_year = date.month >= 1 && date.month <= 12 ? (unsigned)EngMiscGetDayOfYearForDate(&date) : 0;
    unsigned days = date.year * 366u + day_of_year;
    return date_and_time->minute + 60u * (date_and_time->hour + 24u * days);
}

bool EngMiscIsDateValid(const _EngMiscDate* date, bool report)
{
    if (!date) {
        if (report)
            DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return false;
    }
    if (date->year < 1900) {
        if (report)
            DebugError(ENG_FUNC, "Invalid year %d.", (int)date->year);
        return false;
    }
    if (date->month < 1 || date->month > 12) {
        if (report)
            DebugError(ENG_FUNC, "Invalid month %d.", date->month);
        return false;
    }
    int length = EngMiscGetNumberOfDaysInMonth(date->month, date->year);
    if (date->day < 1 || date->day > length) {
        if (report)
            DebugError(ENG_FUNC, "Invalid day %d (%d).", date->day, length);
        return false;
    }
    return true;
}
