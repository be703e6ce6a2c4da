// Physical memory figures of the machine, exact beyond 4 GiB where Windows can say so.
#pragma once

#include <cstdint>

struct PhysicalMemory {
    std::uint64_t total;
    std::uint64_t available;
    std::uint64_t commitAvailable;  // what may still be committed before the commit limit
};

PhysicalMemory QueryPhysicalMemory();
