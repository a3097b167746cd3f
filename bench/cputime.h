#pragma once

// User plus system CPU time of this process so far, in seconds.
double processCpuSeconds();
