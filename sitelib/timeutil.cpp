// Time of day for the status clock and the listing file name. All times are
// local; the month names are fixed English abbreviations so that the clock
// text does not change with the locale.
#include <sys/time.h>

#include <cstdio>
#include <cstring>

#include "sitelib/sitelib.h"

static const char *const month_names[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

static struct tm local_time(time_t seconds) {
  struct tm parts;
  if (!localtime_r(&seconds, &parts)) memset(&parts, 0, sizeof parts);
  return parts;
}

void GetTimeFull(time_full *record, int flags) {
  (void)flags;
  struct timeval now;
  gettimeofday(&now, nullptr);
  record->seconds = now.tv_sec;
  record->microseconds = now.tv_usec;
  struct tm parts = local_time(now.tv_sec);
  if (strftime(record->sShort, sizeof record->sShort, "%Z", &parts) == 0) record->sShort[0] = '\0';
}

char *shhmmssddmonyyyy_r(const time_full *record, char *buffer) {
  struct tm parts = local_time(record->seconds);
  int month = parts.tm_mon >= 0 && parts.tm_mon < 12 ? parts.tm_mon : 0;
  snprintf(buffer, 32, "%02d:%02d:%02d %02d-%s-%04d", parts.tm_hour, parts.tm_min, parts.tm_sec,
           parts.tm_mday, month_names[month], parts.tm_year + 1900);
  return buffer;
}

void GetTimeYmds(time_ymds *record, int flags) {
  (void)flags;
  struct tm parts = local_time(time(nullptr));
  record->iyear = parts.tm_year + 1900;
  record->imonth = parts.tm_mon + 1;
  record->iday = parts.tm_mday;
  record->iseconds = parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec;
}

// Negative counts give parts that are all negative or zero, so that
// days * 86400 + hours * 3600 + minutes * 60 + secs is always the input.
void unpacktime(int seconds, int *days, int *hours, int *minutes, int *secs) {
  if (days) *days = seconds / 86400;
  if (hours) *hours = seconds % 86400 / 3600;
  if (minutes) *minutes = seconds % 3600 / 60;
  if (secs) *secs = seconds % 60;
}
