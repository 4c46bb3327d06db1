#pragma once

#include "Engine/Core/EngTypes.h"

// Stored in best-times records, score rows and the scores cache: the layout is fixed.
struct _EngMiscDate {
    EngUInt32 year;
    EngInt8 month; // 1 to 12
    EngInt8 day;   // 1 to 31
    EngUInt8 padding[2];
};
static_assert(sizeof(_EngMiscDate) == 8, "_EngMiscDate is an 8-byte record");

// Local time.
struct _EngMiscDateAndTime {
    _EngMiscDate date;
    EngUInt32 hour;
    EngUInt8 minute;
    EngUInt8 second;
    EngUInt8 padding[2];
};
static_assert(sizeof(_EngMiscDateAndTime) == 16, "_EngMiscDateAndTime is a 16-byte record");

void EngMiscGetCurrentDate(_EngMiscDate* date);
void EngMiscGetCurrentDateAndTime(_EngMiscDateAndTime* date_and_time);
void EngMiscGetCurrentTime(int* hour, int* minute, int* second);

int EngMiscGetNumberOfDaysInMonth(signed char month, unsigned year);
int EngMiscGetDaysInMonthOfDate(const _EngMiscDate* date);
// 0 Sunday to 6 Saturday, -1 on failure.
signed char EngMiscGetDayOfWeekNumberForDate(const _EngMiscDate* date);
int EngMiscGetDayOfYearForDate(const _EngMiscDate* date);
int EngMiscGetWeekNumberForDateISO(const _EngMiscDate* date);
void EngMiscGetPreviousDay(_EngMiscDate* date);
bool EngMiscIsDateLater(_EngMiscDate a, _EngMiscDate b);
// An ordering key in minutes (years counted as 366 days).
unsigned EngMiscGetMinutesFromDateAndTime(const _EngMiscDateAndTime* date_and_time);
bool EngMiscIsDateValid(const _EngMiscDate* date, bool report);
