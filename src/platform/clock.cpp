#include "clock.h"

double Clock::secondsSinceMidnight() const {
    return now().time().msecsSinceStartOfDay() / 1000.0;
}
