#include "procenum/process_enumerator.h"

ProcessEnumerator::ProcessEnumerator() : m_usePsapi(false), m_hPsapi(nullptr), m_hVdmdbg(nullptr) {}
ProcessEnumerator::~ProcessEnumerator() {}
BOOL ProcessEnumerator::OnProcess(const char*, DWORD) { return TRUE; }
BOOL ProcessEnumerator::OnModule(HMODULE, const char*, const char*) { return TRUE; }
bool ProcessEnumerator::LoadHelperLibraries() { return true; }
bool ProcessEnumerator::EnumerateProcesses() { return false; }
bool ProcessEnumerator::EnumerateModules(DWORD) { return false; }
