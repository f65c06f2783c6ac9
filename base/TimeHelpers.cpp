#include "TimeHelpers.h"

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
static_assert(sizeof(DateTime) == sizeof(SYSTEMTIME), "DateTime keeps the SYSTEMTIME layout");
#endif

namespace {

bool ToLocalTime(std::time_t time, std::tm* out) {
#ifdef _WIN32
  return localtime_s(out, &time) == 0;
#else
  return localtime_r(&time, out) != nullptr;
#endif
}

}  // namespace

uint64_t NowMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

DateTime TimeToDateTime(int64_t seconds) {
  DateTime result{};
  std::tm local{};
  if (!ToLocalTime(static_cast<std::time_t>(seconds), &local)) return result;
  result.year = static_cast<uint16_t>(local.tm_year + 1900);
  result.month = static_cast<uint16_t>(local.tm_mon + 1);
  result.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
  result.day = static_cast<uint16_t>(local.tm_mday);
  result.hour = static_cast<uint16_t>(local.tm_hour);
  result.minute = static_cast<uint16_t>(local.tm_min);
  result.second = static_cast<uint16_t>(local.tm_sec);
  return result;
}

int64_t DateTimeToTime(const DateTime& dateTime) {
  std::tm local{};
  local.tm_year = dateTime.year - 1900;
  local.tm_mon = dateTime.month - 1;
  local.tm_mday = dateTime.day;
  local.tm_hour = dateTime.hour;
  local.tm_min = dateTime.minute;
  local.tm_sec = dateTime.second;
  local.tm_isdst = 0;
  return static_cast<int64_t>(std::mktime(&local));
}
