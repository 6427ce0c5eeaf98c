#pragma once
// Local date and time as the rules need them; functions that read the clock take it as an argument.
#include <string>

namespace fbwb {

struct LocalDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

LocalDateTime localNow();

std::string formatDate(const LocalDateTime& t);           // yyyy.mm.dd
std::string formatDateTime(const LocalDateTime& t);       // yyyy.mm.dd hh:nn:ss
std::string formatStamp(const LocalDateTime& t);          // yyyymmdd_hhnnss
std::string formatYear(const LocalDateTime& t);           // YYYY
std::string formatCompactDate(const LocalDateTime& t);    // YYYYMMDD
std::string formatCompactDateTime(const LocalDateTime& t);// YYYYMMDDHHNNSS

}  // namespace fbwb
