#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace vorlix::platform::win32 {

namespace {

SYSTEMTIME ToSystemTime(const LocalTime& time) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(time.year);
  st.wMonth = static_cast<WORD>(time.month);
  st.wDay = static_cast<WORD>(time.day);
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  st.wMilliseconds = static_cast<WORD>(time.millisecond);
  return st;
}

}  // namespace

LocalTime Win32Clock::Now() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string Win32Clock::ShortDate(const LocalTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  char buffer[128];
  const int length =
      ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string Win32Clock::LongTime(const LocalTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  char buffer[128];
  const int length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

}  // namespace vorlix::platform::win32
