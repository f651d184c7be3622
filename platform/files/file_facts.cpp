#include "platform/files/file_facts.h"

#include <cstdio>

namespace tarnwell {

Text FormatDateTime(int year, int month, int day, int hour, int minute, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
  return text;
}

}  // namespace tarnwell
