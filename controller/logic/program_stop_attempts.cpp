#include "controller/logic/program_stop_attempts.h"

bool StopAttempts::RecordAttempt(unsigned long processId)
{
    ++m_passes;
    return ++m_attempts[processId] == kMaxAttemptsPerProcess;
}
