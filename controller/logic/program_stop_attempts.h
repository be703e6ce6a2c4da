// Bounds how often phase 2 tries to end the same process: a process that can be opened but
// never ends (its termination keeps failing) is given up after a few passes instead of
// keeping its stop thread, and with it the phase, retrying forever. A program that keeps
// starting new instances is bounded by the total number of passes.
#pragma once

#include <cstddef>
#include <map>

class StopAttempts {
public:
    static constexpr int kMaxAttemptsPerProcess = 3;
    static constexpr int kMaxPasses = 1000;

    // Records that a pass ended (or tried to end) processId. Returns true when that process
    // has now been tried kMaxAttemptsPerProcess times and is to be given up.
    bool RecordAttempt(unsigned long processId);
    // True once kMaxPasses attempts were recorded in all.
    bool PassLimitReached() const { return m_passes >= kMaxPasses; }

private:
    std::map<unsigned long, int> m_attempts;
    int m_passes = 0;
};
