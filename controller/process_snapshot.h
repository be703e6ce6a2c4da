// One walk over the running processes, kept as a list of names and ids, for the parts of
// the controller that only look (--restore and --dry-run).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "controller/logic/program_names.h"
#include "procenum/process_enumerator.h"

class ProcessSnapshot : public ProcessEnumerator {
public:
    // Walks once; false when the process list could not be read.
    bool Take()
    {
        m_processes.clear();
        LoadHelperLibraries();
        return EnumerateProcesses();
    }
    BOOL OnProcess(const char* processName, DWORD processId) override
    {
        m_processes.emplace_back(ComparableProcessName(processName, IsNtFamily()), processId);
        return TRUE;
    }
    // The ids of the processes with this executable name (letter case ignored), never the
    // controller's own (whatever its file is called).
    std::vector<DWORD> IdsOf(const char* exeName) const
    {
        std::vector<DWORD> ids;
        const DWORD self = GetCurrentProcessId();
        for (const auto& process : m_processes) {
            if (process.second != self && SameTextIgnoringCase(process.first.c_str(), exeName))
                ids.push_back(process.second);
        }
        return ids;
    }
    bool HasProcess(DWORD processId, const char* exeName) const
    {
        for (const auto& process : m_processes) {
            if (process.second == processId && SameTextIgnoringCase(process.first.c_str(), exeName))
                return true;
        }
        return false;
    }

private:
    std::vector<std::pair<std::string, DWORD>> m_processes;
};
