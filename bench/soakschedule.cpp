#include "soakschedule.h"

#include <algorithm>

SoakSchedule::SoakSchedule(int runMinutes)
    : minutes(runMinutes), runMs(runMinutes * kMinuteMs),
      commandsMs(std::clamp(runMinutes / 3, 1, 10) * kMinuteMs), reportMs(2 * commandsMs),
      baselineMs(std::clamp(runMinutes / 3, 2, 5) * kMinuteMs) {}
