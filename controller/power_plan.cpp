#include "controller/power_plan.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "controller/log_message.h"
#include "controller/power_calls.h"
#include "controller/run_journal.h"
#include "runtime/format_text.h"

namespace {

// GUID_MIN_POWER_SAVINGS: High performance.
const GUID kHighPerformance = {0x8c5e7fda, 0xe8bf, 0x4a96, {0x9a, 0x85, 0xa6, 0xe2, 0x3a, 0x8c, 0x63, 0x5c}};
const UINT kAlwaysOnIndex = 3;  // the built-in "Always On" scheme's index, when two schemes match
const int kSystemBatteryState = 5;

// A plan as the journal keeps it: a GUID without braces (Vista and later) or a scheme index.
struct Plan {
    std::string id;
    std::string name;  // as Windows names it, in the system code page
};

std::string GuidText(const GUID& guid)
{
    char text[40];
    FormatText(text, sizeof text, "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
               static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
               guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool ParseGuid(const std::string& text, GUID& guid)
{
    // 8-4-4-4-12 hex digits.
    if (text.size() != 36)
        return false;
    unsigned char bytes[16];
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return false;
            continue;
        }
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return false;
        if (count % 2 == 0)
            bytes[count / 2] = static_cast<unsigned char>(digit << 4);
        else
            bytes[count / 2] |= static_cast<unsigned char>(digit);
        ++count;
    }
    guid.Data1 = (static_cast<unsigned long>(bytes[0]) << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
    guid.Data2 = static_cast<unsigned short>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<unsigned short>((bytes[6] << 8) | bytes[7]);
    std::memcpy(guid.Data4, bytes + 8, 8);
    return true;
}

bool ParseIndex(const std::string& text, UINT& index)
{
    if (text.empty() || text.size() > 9)
        return false;
    index = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        index = index * 10 + static_cast<UINT>(c - '0');
    }
    return true;
}

// A UTF-16 name of at most bytes bytes (not necessarily terminated) in the system code page.
std::string NarrowName(const wchar_t* name, DWORD bytes)
{
    int length = 0;
    const int most = static_cast<int>(bytes / sizeof(wchar_t));
    while (length < most && name[length] != L'\0')
        ++length;
    char text[256];
    const int written = length == 0 ? 0
                                    : WideCharToMultiByte(CP_ACP, 0, name, length, text,
                                                          static_cast<int>(sizeof text) - 1, "?", nullptr);
    return std::string(text, written > 0 ? static_cast<std::size_t>(written) : 0);
}

// The two families of calls: plans of Vista and later, schemes of Windows 2000 and XP.
bool UsesPlans(const OSVERSIONINFOA& version) { return version.dwMajorVersion >= 6; }

// Vista and later: the plan's name; false with ERROR_FILE_NOT_FOUND when there is no such plan.
bool PlanName(const PowerCalls& calls, const GUID& guid, std::string& name, DWORD& error)
{
    wchar_t buffer[128];
    DWORD bytes = sizeof buffer;
    error = calls.readFriendlyName == nullptr
                ? static_cast<DWORD>(ERROR_PROC_NOT_FOUND)
                : calls.readFriendlyName(nullptr, &guid, nullptr, nullptr, reinterpret_cast<UCHAR*>(buffer),
                                         &bytes);
    if (error == ERROR_FILE_NOT_FOUND) {
        error = ERROR_SUCCESS;  // an answer: there is no such plan
        return false;
    }
    name = error == ERROR_SUCCESS ? NarrowName(buffer, bytes < sizeof buffer ? bytes : sizeof buffer)
                                  : std::string();
    if (name.empty())
        name = GuidText(guid);  // a plan without a readable name is named by its GUID
    error = ERROR_SUCCESS;
    return true;
}

// Windows 2000/XP: every scheme with its name, and the one whose policy is that of "Always On":
// no standby and no slowed processor, on mains and on battery.
struct Schemes {
    std::vector<Plan> all;
    std::string alwaysOn;
};
BOOLEAN CALLBACK VisitScheme(UINT index, DWORD nameBytes, LPWSTR name, DWORD, LPWSTR, SchemePolicy* policy,
                             LPARAM context)
{
    Schemes& schemes = *reinterpret_cast<Schemes*>(context);
    if (schemes.all.size() >= 64)
        return FALSE;
    const std::string id = std::to_string(index);
    schemes.all.push_back({id, name != nullptr ? NarrowName(name, nameBytes) : std::string()});
    const bool alwaysOn = policy != nullptr && policy->idleTimeoutAc == 0 && policy->idleTimeoutDc == 0
                          && policy->throttlePolicyAc == 0 && policy->throttlePolicyDc == 0;
    if (alwaysOn && (schemes.alwaysOn.empty() || index == kAlwaysOnIndex))
        schemes.alwaysOn = id;
    return TRUE;
}
bool ReadSchemes(const PowerCalls& calls, Schemes& schemes, DWORD& error)
{
    SetLastError(ERROR_SUCCESS);
    if (calls.enumPwrSchemes == nullptr) {
        error = ERROR_PROC_NOT_FOUND;
        return false;
    }
    if (!calls.enumPwrSchemes(&VisitScheme, reinterpret_cast<LPARAM>(&schemes))) {
        error = GetLastError();
        return false;
    }
    return true;
}
const Plan* FindScheme(const Schemes& schemes, const std::string& id)
{
    for (const Plan& plan : schemes.all) {
        if (plan.id == id)
            return &plan;
    }
    return nullptr;
}

// The active plan with its name; false with the error.
bool ActivePlan(const PowerCalls& calls, bool plans, Plan& active, DWORD& error)
{
    if (plans) {
        GUID* guid = nullptr;
        error = calls.getActiveScheme == nullptr ? static_cast<DWORD>(ERROR_PROC_NOT_FOUND)
                                                 : calls.getActiveScheme(nullptr, &guid);
        if (error != ERROR_SUCCESS || guid == nullptr)
            return false;
        active.id = GuidText(*guid);
        const GUID copy = *guid;
        LocalFree(guid);
        if (!PlanName(calls, copy, active.name, error))
            active.name = active.id;
        error = ERROR_SUCCESS;
        return true;
    }
    UINT index = 0;
    SetLastError(ERROR_SUCCESS);
    if (calls.getActivePwrScheme == nullptr || !calls.getActivePwrScheme(&index)) {
        error =
            calls.getActivePwrScheme == nullptr ? static_cast<DWORD>(ERROR_PROC_NOT_FOUND) : GetLastError();
        return false;
    }
    active.id = std::to_string(index);
    Schemes schemes;
    const Plan* known = ReadSchemes(calls, schemes, error) ? FindScheme(schemes, active.id) : nullptr;
    active.name = known != nullptr && !known->name.empty() ? known->name : "scheme " + active.id;
    error = ERROR_SUCCESS;
    return true;
}

// Whether a plan exists, with its name; error is set when that cannot be told.
bool PlanExists(const PowerCalls& calls, bool plans, const std::string& id, std::string& name, DWORD& error)
{
    error = ERROR_SUCCESS;
    if (plans) {
        GUID guid;
        return ParseGuid(id, guid) && PlanName(calls, guid, name, error);
    }
    Schemes schemes;
    if (!ReadSchemes(calls, schemes, error))
        return false;
    const Plan* plan = FindScheme(schemes, id);
    if (plan != nullptr)
        name = plan->name.empty() ? "scheme " + id : plan->name;
    return plan != nullptr;
}

DWORD SetPlan(const PowerCalls& calls, bool plans, const std::string& id)
{
    if (plans) {
        GUID guid;
        if (!ParseGuid(id, guid))
            return ERROR_INVALID_DATA;
        return calls.setActiveScheme == nullptr ? static_cast<DWORD>(ERROR_PROC_NOT_FOUND)
                                                : calls.setActiveScheme(nullptr, &guid);
    }
    UINT index = 0;
    if (!ParseIndex(id, index))
        return ERROR_INVALID_DATA;
    SetLastError(ERROR_SUCCESS);
    if (calls.setActivePwrScheme == nullptr)
        return ERROR_PROC_NOT_FOUND;
    if (calls.setActivePwrScheme(index, nullptr, nullptr))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? static_cast<DWORD>(ERROR_GEN_FAILURE) : error;
}

bool OnBattery(const PowerCalls& calls)
{
    // SYSTEM_BATTERY_STATE: AcOnLine, BatteryPresent, Charging, Discharging, then figures.
    unsigned char state[64];
    std::memset(state, 0, sizeof state);
    if (calls.callNtPowerInformation == nullptr
        || calls.callNtPowerInformation(kSystemBatteryState, nullptr, 0, state, 32) != 0) {
        return false;  // unknown: taken as mains power
    }
    return state[0] == 0 && state[1] != 0;
}

bool HasPlans(const OSVERSIONINFOA& version)
{
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

// The plans a run switches between, or false after the line saying why it switches none (a
// dry run's lines differ only in their verbs).
bool PlanTheSwitch(const OSVERSIONINFOA& version, bool dryRun, Plan& active, Plan& target)
{
    if (!HasPlans(version)) {
        LogMessage(LOG_PLAIN, "\r\nPower plan: this Windows has no power plans - nothing %s",
                   dryRun ? "would be switched" : "switched");
        return false;
    }
    const PowerCalls& calls = SystemPowerCalls();
    const bool plans = UsesPlans(version);
    DWORD error = ERROR_SUCCESS;
    if (!ActivePlan(calls, plans, active, error)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to read the active power plan, error = %lu", error);
        return false;
    }
    if (plans) {
        target.id = GuidText(kHighPerformance);
        if (!PlanExists(calls, plans, target.id, target.name, error)) {
            LogMessage(LOG_WARNING,
                       "\r\nWARNING: This computer has no High performance power plan - left at '%s'",
                       active.name.c_str());
            return false;
        }
    } else {
        Schemes schemes;
        if (!ReadSchemes(calls, schemes, error)) {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to list the power schemes, error = %lu", error);
            return false;
        }
        const Plan* alwaysOn = FindScheme(schemes, schemes.alwaysOn);
        if (alwaysOn == nullptr) {
            LogMessage(LOG_WARNING, "\r\nWARNING: This computer has no Always On power scheme - left at '%s'",
                       active.name.c_str());
            return false;
        }
        target = *alwaysOn;
        if (target.name.empty())
            target.name = "scheme " + target.id;
    }
    if (active.id == target.id) {
        LogMessage(LOG_PLAIN, "\r\nPower plan: '%s' already - nothing %s", active.name.c_str(),
                   dryRun ? "would be switched" : "switched");
        return false;
    }
    if (OnBattery(calls)) {
        LogMessage(LOG_PLAIN,
                   "\r\nPower plan: the computer runs on battery - left at '%s', not switched to '%s'",
                   active.name.c_str(), target.name.c_str());
        return false;
    }
    return true;
}

// The run's switch, for phase 8.
bool g_switched = false;
bool g_plans = false;
Plan g_before;
Plan g_chosen;

// Puts before back while chosen is still active. False when the switch failed (to be kept).
bool PutBack(bool plans, const std::string& beforeId, const std::string& chosenId)
{
    const PowerCalls& calls = SystemPowerCalls();
    Plan active;
    DWORD error = ERROR_SUCCESS;
    if (!ActivePlan(calls, plans, active, error)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to read the active power plan, error = %lu", error);
        return false;
    }
    std::string beforeName;
    const bool exists = PlanExists(calls, plans, beforeId, beforeName, error);
    if (!exists && beforeName.empty())
        beforeName = beforeId;
    if (active.id != chosenId) {
        LogMessage(LOG_PLAIN,
                   "\r\nPower plan: '%s' was chosen during the run - kept, not switched back to '%s'",
                   active.name.c_str(), beforeName.c_str());
        return true;
    }
    if (!exists) {
        if (error != ERROR_SUCCESS) {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to list the power plans, error = %lu", error);
            return false;
        }
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: The power plan %s of before the run no longer exists - left at '%s'",
                   beforeId.c_str(), active.name.c_str());
        return true;
    }
    LogMessage(LOG_PLAIN, "\r\nSwitching the power plan back from '%s' to '%s'", active.name.c_str(),
               beforeName.c_str());
    error = SetPlan(calls, plans, beforeId);
    if (error != ERROR_SUCCESS) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to switch the power plan to '%s', error = %lu",
                   beforeName.c_str(), error);
        return false;
    }
    return true;
}

}  // namespace

void SwitchPowerPlanForRun(const OSVERSIONINFOA& version)
{
    Plan active;
    Plan target;
    if (!PlanTheSwitch(version, false, active, target))
        return;
    g_plans = UsesPlans(version);
    // Recorded first: a run that dies from here on leaves the plan to put back in its journal.
    if (!JournalRecordPowerPlans(active.id.c_str(), target.id.c_str()))
        return;  // the run is being ended: nothing more is changed
    LogMessage(LOG_PLAIN, "\r\nSwitching the power plan from '%s' to '%s'", active.name.c_str(),
               target.name.c_str());
    const DWORD error = SetPlan(SystemPowerCalls(), g_plans, target.id);
    if (error != ERROR_SUCCESS) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to switch the power plan to '%s', error = %lu",
                   target.name.c_str(), error);
        JournalRecordPowerPlans("", "");
        return;
    }
    g_switched = true;
    g_before = active;
    g_chosen = target;
}

void SwitchPowerPlanBack()
{
    if (!g_switched)
        return;
    g_switched = false;
    if (PutBack(g_plans, g_before.id, g_chosen.id))
        JournalRecordPowerPlans("", "");
}

bool RestorePowerPlan(const JournalRecord& journal, JournalRecord& left)
{
    if (journal.powerPlan.empty())
        return true;
    // The journal's kind of identifier tells which calls wrote it.
    const bool plans = journal.powerPlan.find('-') != std::string::npos;
    if (PutBack(plans, journal.powerPlan, journal.runPowerPlan))
        return true;
    left.SetPowerPlans(journal.powerPlan, journal.runPowerPlan);
    return false;
}

void DescribePowerPlan(const OSVERSIONINFOA& version)
{
    Plan active;
    Plan target;
    if (PlanTheSwitch(version, true, active, target)) {
        LogMessage(LOG_PLAIN, "\r\nWould switch the power plan from '%s' to '%s', and back in phase 8",
                   active.name.c_str(), target.name.c_str());
    }
}
