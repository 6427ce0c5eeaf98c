#include "core/datetime.h"

#include <cstdio>
#include <ctime>

namespace fbwb {

LocalDateTime localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

namespace {
std::string printed(const char* format, const LocalDateTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buffer;
}
}  // namespace

std::string formatDate(const LocalDateTime& t) { return printed("%04d.%02d.%02d", t); }
std::string formatDateTime(const LocalDateTime& t) { return printed("%04d.%02d.%02d %02d:%02d:%02d", t); }
std::string formatStamp(const LocalDateTime& t) { return printed("%04d%02d%02d_%02d%02d%02d", t); }
std::string formatYear(const LocalDateTime& t) { return printed("%04d", t); }
std::string formatCompactDate(const LocalDateTime& t) { return printed("%04d%02d%02d", t); }
std::string formatCompactDateTime(const LocalDateTime& t) { return printed("%04d%02d%02d%02d%02d%02d", t); }

}  // namespace fbwb
