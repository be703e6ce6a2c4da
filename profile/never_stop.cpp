#include "profile/never_stop.h"

#include <cctype>

namespace profile {

namespace {

// Each entry: what ending it does to the machine.
const char* const kNeverStopProcesses[] = {
    // Pseudo-processes the process lists report for the kernel itself.
    "[System Process]",     // the idle process (id 0)
    "System Idle Process",  // the same, as task lists name it
    "System",               // the kernel and its threads (id 4 or 8); cannot be ended
    "Registry",             // the kernel's registry store (Windows 10)
    "Memory Compression",   // the memory manager's compressed store (Windows 10)
    "Secure System",        // the virtualisation-based security kernel
    // The session's critical processes: ending any of them stops Windows with a blue screen
    // (CRITICAL_PROCESS_DIED / CRITICAL_OBJECT_TERMINATION) or logs everyone off.
    "smss.exe",         // Session Manager: creates sessions and starts csrss and winlogon
    "csrss.exe",        // Client/Server Runtime: console windows, process and thread creation
    "wininit.exe",      // session 0 start-up: starts services.exe, lsass.exe and lsm.exe
    "winlogon.exe",     // logon, Ctrl+Alt+Del, the user's desktop and the shell restart
    "services.exe",     // the Service Control Manager
    "lsass.exe",        // Local Security Authority: logons, passwords, security tokens
    "lsaiso.exe",       // the isolated LSA of Credential Guard
    "lsm.exe",          // Local Session Manager (Windows Vista and 7)
    "svchost.exe",      // hosts most services, RPC and DCOM among them; ending one ends all it hosts
    "dwm.exe",          // Desktop Window Manager: without it the screen goes blank or black
    "fontdrvhost.exe",  // user-mode font driver host: text drawing of the session
    "conhost.exe",      // console host: ending it closes every console, the controller's own too
    "zephrun.exe",      // the controller: this run itself, or another run that would stop half done
    // Windows 9x/ME: the system's own processes.
    "kernel32.dll",  // the 9x kernel as the process list reports it
    "msgsrv32.exe",  // 9x message server: the desktop hangs without it
    "mprexe.exe",    // 9x network provider router: network logon and drives
    "mmtask.tsk",    // 9x multimedia background task
};

// Each entry: what stopping it breaks.
const char* const kNeverStopServices[] = {
    "RpcSs",                   // Remote Procedure Call: Windows shuts down when it stops
    "DcomLaunch",              // DCOM Server Process Launcher: starts COM servers; stopping restarts Windows
    "RpcEptMapper",            // RPC Endpoint Mapper: every RPC client finds its server through it
    "SamSs",                   // Security Accounts Manager: local accounts and logons
    "LSM",                     // Local Session Manager: the user sessions themselves
    "Power",                   // power management and power events of the session
    "PlugPlay",                // Plug and Play: devices are set up and removed through it
    "BrokerInfrastructure",    // background task broker: stopping it ends the session's apps
    "SystemEventsBroker",      // delivers system events to the task broker
    "CoreMessagingRegistrar",  // the window system's message transport (Windows 10)
    "gpsvc",                   // Group Policy Client: policies and logon processing
    "ProfSvc",                 // User Profile Service: loads and unloads the users' profiles
};

bool SameIgnoringCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

template <typename List>
bool Listed(const List& list, const char* name)
{
    if (name == nullptr)
        return false;
    for (const char* entry : list) {
        if (SameIgnoringCase(entry, name))
            return true;
    }
    return false;
}

}  // namespace

bool IsNeverStopProcess(const char* exeName) { return Listed(kNeverStopProcesses, exeName); }
bool IsNeverStopService(const char* keyName) { return Listed(kNeverStopServices, keyName); }

}  // namespace profile
