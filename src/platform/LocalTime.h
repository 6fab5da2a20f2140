// The current date and time as calendar fields.
#pragma once

namespace Platform {

struct TSystemTime {
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;    // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

TSystemTime CurrentLocalTime();

}  // namespace Platform
