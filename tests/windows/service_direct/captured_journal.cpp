// The run journal's service calls and the not-running record for the tests that link the
// service routines directly: kept in memory, in order.
#include <mutex>

#include "controller/run_journal.h"
#include "controller/service_state.h"
#include "service_direct/captured_log.h"

namespace {

std::mutex g_journalLock;
std::vector<std::string> g_journalCalls;

void Note(const std::string& call)
{
    std::lock_guard<std::mutex> hold(g_journalLock);
    g_journalCalls.push_back(call);
}

}  // namespace

void JournalAddService(const char* key) { Note(std::string("+") + key); }
void JournalRemoveService(const char* key) { Note(std::string("-") + key); }
void RecordServiceNotRunning(const char* key) { Note(std::string("not running ") + key); }

namespace zt {

std::vector<std::string> TakeJournalCalls()
{
    std::lock_guard<std::mutex> hold(g_journalLock);
    std::vector<std::string> taken;
    taken.swap(g_journalCalls);
    return taken;
}

}  // namespace zt
