#pragma once

#include <cstddef>

// Counts the QObjects alive in this process, through the object hooks the
// toolkit offers debugging tools, and the timers running on this thread.
// install() goes before the first QObject is made; objects made earlier
// are not counted.
class ObjectCensus {
public:
    struct Count {
        std::size_t objects = 0; // every thread's
        int timers = 0;          // registered with this thread's event dispatcher
    };

    static void install();
    // Call on the thread whose timers are wanted (the UI thread).
    static Count take();
};
