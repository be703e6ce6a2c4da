#include "controller/dry_run.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "journal/journal_file.h"
#include "controller/log_message.h"
#include "controller/main_app_wait.h"
#include "controller/logic/command_line.h"
#include "controller/logic/program_key_set.h"
#include "controller/keep_awake.h"
#include "controller/logic/program_names.h"
#include "controller/phases.h"
#include "controller/power_plan.h"
#include "controller/process_snapshot.h"
#include "controller/profile_reader.h"
#include "controller/program_terminator.h"
#include "controller/service_config.h"
#include "controller/service_dependents.h"
#include "profile/entry_values.h"
#include "profile/never_stop.h"
#include "profile/path_parts.h"
#include "profile/priority_text.h"
#include "profile/profile_keys.h"

namespace {

// What phases 8 and 9 would start again: the "Stop & Restart" entries found running.
struct Restarts {
    std::vector<std::string> services;                          // display names
    std::vector<std::pair<std::string, std::string>> programs;  // key, path
};

void WarnNeverStopped(const char* name)
{
    LogMessage(LOG_WARNING, "\r\nWARNING: '%s' is needed by Windows and is never stopped.", name);
}

void DescribeIdleTasks(const OSVERSIONINFOA& version)
{
    if (ReadConfigInt(profile::kProcIdleTasks, 0) != 1) {
        LogMessage(LOG_PLAIN, "\r\nWould skip: not enabled");
    } else if (!(version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5
                 && version.dwMinorVersion >= 1)) {
        LogMessage(LOG_PLAIN, "\r\nWould skip: Windows XP or Server 2003 only");
    } else {
        LogMessage(LOG_PLAIN, "\r\nWould make Windows run its pending idle tasks");
    }
}

// Ending the shell switches its automatic restart off for the run.
void DescribeShellValue()
{
    LogMessage(LOG_PLAIN,
               "\r\nWould set AutoRestartShell to 0 while the shell is ended, and back to %lu at the end",
               ReadShellRestart());
}

void DescribePrograms(Restarts& restarts)
{
    ProcessSnapshot running;
    if (!running.Take())
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to list the running programs");
    ProgramKeySet seenKeys;
    WalkProfileSection(profile::kPrograms, profile::kActionNoAction, [&](const char* key, const char* value) {
        if (!seenKeys.Insert(key) || profile::ProgramIsNoAction(value))
            return;
        if (profile::IsNeverStopProcess(key)) {
            WarnNeverStopped(key);
            return;
        }
        const std::vector<DWORD> ids = running.IdsOf(key);
        if (ids.empty()) {
            LogMessage(LOG_PLAIN, "\r\n%s is not running - nothing to do", key);
            return;
        }
        const bool restart = profile::ProgramIsStopRestart(value);
        for (DWORD id : ids) {
            LogMessage(LOG_PLAIN, "\r\nWould close %s (process %lu)%s", key, id,
                       restart ? " and restart it afterwards" : " - not restarted");
        }
        if (IsShellProgramKey(key))
            DescribeShellValue();
        if (restart)
            restarts.programs.emplace_back(key, profile::ProgramPathPart(value));
    });
}

void DescribeServices(bool ntFamily, Restarts& restarts)
{
    if (!ntFamily) {
        LogMessage(LOG_HEADING, "\r\n...skipping since OS is Windows 9x/ME");
        return;
    }
    SC_HANDLE manager = nullptr;
    bool managerFailed = false;
    const std::vector<std::string> listed = ListedServiceKeys();
    WalkProfileSection(profile::kServices, profile::kActionNoAction, [&](const char* key, const char* value) {
        if (profile::ServiceIsNoAction(value))
            return;
        if (profile::IsNeverStopService(key)) {
            WarnNeverStopped(key);
            return;
        }
        if (manager == nullptr && !managerFailed) {
            // Reading rights only (the list of services for the dependents): a dry run
            // reads states and changes nothing.
            manager = OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA,
                                     SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
            if (manager == nullptr) {
                managerFailed = true;
                LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service Control Manager, error = %d",
                           static_cast<int>(GetLastError()));
            }
        }
        if (manager == nullptr)
            return;
        SC_HANDLE service = OpenServiceA(manager, key, SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
        if (service == nullptr) {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service '%s', error = %d", key,
                       static_cast<int>(GetLastError()));
            return;
        }
        ServiceConfig config;
        config.Query(service, 4096);
        const std::string displayName = config.DisplayNameOr(key);
        SERVICE_STATUS status;
        ZeroMemory(&status, sizeof status);
        if (!QueryServiceStatus(service, &status)) {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to query Service '%s', error = %d", displayName.c_str(),
                       static_cast<int>(GetLastError()));
        } else if (status.dwCurrentState == SERVICE_STOPPED) {
            LogMessage(LOG_PLAIN, "\r\n'%s' is already stopped - left alone", displayName.c_str());
        } else if (profile::ServiceRestarts(value)) {
            LogMessage(LOG_PLAIN, "\r\nWould stop '%s' (running) and start it again afterwards",
                       displayName.c_str());
            restarts.services.push_back(displayName);
        } else {
            LogMessage(LOG_PLAIN, "\r\nWould stop '%s' (running) - not started again", displayName.c_str());
        }
        if (status.dwCurrentState != SERVICE_STOPPED) {
            // Started again after it, as phase 8 does, unless an entry of their own decides.
            const std::size_t at = restarts.services.size();
            for (const DependentService& dependent : ActiveDependents(manager, key)) {
                LogMessage(LOG_PLAIN, "\r\n  and first '%s', which depends on it",
                           dependent.displayName.c_str());
                if (profile::ServiceRestarts(value) && !HasOwnEntry(&listed, dependent.name.c_str()))
                    restarts.services.insert(restarts.services.begin() + at, dependent.displayName);
            }
        }
        CloseServiceHandle(service);
    });
    if (manager != nullptr)
        CloseServiceHandle(manager);
}

const char* PriorityName(const char* text)
{
    for (const profile::PriorityText& priority : profile::kPriorityTexts) {
        if (std::strcmp(priority.text, text) == 0)
            return priority.text;
    }
    return profile::kDefaultPriority;  // any other text runs at normal priority
}

// False when phases 5 to 7 would be skipped.
bool DescribeMainApplication(bool& launch)
{
    launch = ReadConfigInt(profile::kDoNotLaunchApp, 0) == 0;
    if (!launch) {
        LogMessage(LOG_PLAIN, "\r\nWould launch nothing and wait for a key instead");
        return true;
    }
    char path[profile::kValueBufferSize];
    char arguments[profile::kValueBufferSize];
    char priority[profile::kValueBufferSize];
    char exeName[profile::kValueBufferSize];
    std::memset(arguments, 0, sizeof arguments);
    ReadConfigString(profile::kFsPath, profile::kNotSet, path, sizeof path);
    ReadConfigString(profile::kFsCmdLine, "", arguments, sizeof arguments);
    ReadConfigString(profile::kFsPriority, profile::kDefaultPriority, priority, sizeof priority);
    ReadConfigString(profile::kMainAppExe, profile::kNotSet, exeName, sizeof exeName);
    if (std::strcmp(path, profile::kNotSet) == 0) {
        LogMessage(
            LOG_ERROR,
            "\r\nERROR: Main Application program path is not set!  Please run Zephlaunch to configure...");
        LogMessage(LOG_PLAIN, "\r\nWould skip phases 5 to 7");
        return false;
    }
    char shown[2 * profile::kValueBufferSize + 8];
    FormatLaunchText(shown, sizeof shown, path, arguments);
    char folder[profile::kValueBufferSize];
    profile::FolderOfPath(path, folder, sizeof folder);
    LogMessage(LOG_PLAIN, "\r\nWould start %s", shown);
    LogMessage(LOG_PLAIN, "\r\n  in folder %s", folder[0] != '\0' ? folder : "(the controller's own)");
    LogMessage(LOG_PLAIN, "\r\nWould wait %d seconds for it to finish starting",
               ReadConfigInt(profile::kAutoStartDelay, profile::kDefaultAutoStartDelay));
    if (exeName[0] != '\0' && std::strcmp(exeName, profile::kNotSet) != 0) {
        LogMessage(LOG_PLAIN,
                   "\r\nThe started program is a launcher: would wait for %s as the Main Application",
                   exeName);
        const int appear = ReadConfigInt(profile::kMainAppWait, profile::kDefaultMainAppWait);
        if (appear > 0) {
            LogMessage(LOG_PLAIN, "\r\n  for up to %d seconds after the start-up delay until it runs,",
                       appear);
        } else {
            LogMessage(LOG_PLAIN, "\r\n  once after the start-up delay (mainappwait=0),");
        }
        LogMessage(LOG_PLAIN,
                   "\r\n  then until every copy of it has finished, and %d seconds more for a restart",
                   kMainAppRestartSeconds);
    }
    LogMessage(LOG_PLAIN, "\r\nWould set the Main Application's priority to %s", PriorityName(priority));
    return true;
}

void DescribeAutoStart(bool launch)
{
    LogMessage(LOG_HEADING, "\r\nPhase 6:  Auto Starting Programs");
    std::vector<std::string> names;
    WalkProfileSection(profile::kAutoStart, "", [&](const char* key, const char* value) {
        if (std::strlen(key) > profile::kMaxKeyLength)
            return;
        char arguments[profile::kValueBufferSize];
        std::memset(arguments, 0, sizeof arguments);
        profile::AutoStartArguments(value, arguments, sizeof arguments);
        char shown[2 * profile::kValueBufferSize + 8];
        FormatLaunchText(shown, sizeof shown, key, arguments);
        LogMessage(LOG_PLAIN, "\r\nWould execute %s, then wait %d seconds", shown,
                   profile::AutoStartDelay(value));
        names.push_back(profile::FileNameOfPath(key));
    });
    LogMessage(LOG_PLAIN, launch ? "\r\nWould wait for the Main Application to finish"
                                 : "\r\nWould wait for a key press");
    LogMessage(LOG_HEADING, "\r\nPhase 7:  Stopping programs that were auto started");
    for (const std::string& name : names) {
        LogMessage(LOG_PLAIN, "\r\nWould end %s", name.c_str());
        if (IsShellProgramKey(name.c_str()))
            DescribeShellValue();
    }
}

}  // namespace

void RunDryRun(const OSVERSIONINFOA& version)
{
    const bool ntFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    LogMessage(LOG_WARNING, "\r\nDry run: nothing is stopped, started or written.");
    JournalRecord pending;
    if (DeadRunJournalExists(&pending)) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: A previous run did not finish; a real run first restores what it stopped:");
        for (const std::string& service : pending.services)
            LogMessage(LOG_PLAIN, "\r\nWould start '%s'", service.c_str());
        if (pending.hasShellValue)
            LogMessage(LOG_PLAIN, "\r\nWould write AutoRestartShell = %lu back", pending.shellValue);
        for (const auto& program : pending.programs)
            LogMessage(LOG_PLAIN, "\r\nWould restart %s at %s", program.first.c_str(),
                       program.second.c_str());
        if (!pending.powerPlan.empty()) {
            LogMessage(LOG_PLAIN, "\r\nWould switch the power plan back to %s while %s is active",
                       pending.powerPlan.c_str(), pending.runPowerPlan.c_str());
        }
        if (pending.screenSaverOff)
            LogMessage(LOG_PLAIN, "\r\nWould turn the screen saver on again");
    }
    Restarts restarts;

    LogMessage(LOG_HEADING, "\r\nPhase 1: Forcing Idle tasks to execute.");
    DescribeIdleTasks(version);
    LogMessage(LOG_HEADING, "\r\nPhase 2:  Stopping Programs");
    DescribePrograms(restarts);
    LogMessage(LOG_HEADING, "\r\nPhase 3: Stopping Services");
    DescribeServices(ntFamily, restarts);
    LogMessage(LOG_HEADING, ReadConfigInt(profile::kDefragMem, 0) == 1
                                ? "\r\nPhase 4: Would defragment memory"
                                : "\r\nPhase 4: Defragmenting memory...skipping");
    LogMessage(LOG_HEADING, "\r\nPhase 5: Starting Main Application");
    if (ReadConfigInt(profile::kPowerPlan, 0) == 1)
        DescribePowerPlan(version);
    if (ReadConfigInt(profile::kKeepAwake, 0) == 1)
        DescribeKeepAwake();
    bool launch = true;
    if (DescribeMainApplication(launch))
        DescribeAutoStart(launch);

    LogMessage(LOG_HEADING, "\r\nPhase 8:  Restarting Services");
    if (!ntFamily)
        LogMessage(LOG_HEADING, "\r\n...skipping since OS is Windows 9x/ME");
    for (const std::string& name : restarts.services)
        LogMessage(LOG_PLAIN, "\r\nWould start '%s'", name.c_str());
    LogMessage(LOG_HEADING, "\r\nPhase 9:  Restarting Programs");
    for (const auto& program : restarts.programs) {
        LogMessage(LOG_PLAIN, "\r\nWould restart %s at %s", program.first.c_str(), program.second.c_str());
    }

    if (ReadConfigInt(profile::kPauseAtEnd, 0) != 0)
        LogMessage(LOG_PLAIN, "\r\nWould wait for a key at the end");
    if (ReadConfigInt(profile::kShutdownAfterTermination, 0) == 1) {
        LogMessage(LOG_WARNING, "\r\nWould shut the computer down");
    }
    if (ReadConfigInt(profile::kRestartAfterTermination, 0) == 1)
        LogMessage(LOG_WARNING, "\r\nWould restart the computer");
    LogMessage(LOG_HEADING, "\r\nDry run finished: nothing was changed.\r\n");
}
