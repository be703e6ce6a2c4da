#include "support/link_recorder.h"

#include "support/gui_driver.h"
#include "support/wine_harness.h"

#include <windows.h>

#include <sstream>

namespace gt {

namespace {

const char* const kSchemes[] = {"http", "https", "mailto"};
const char kMscClass[] = "ZephlaunchTest.msc";

bool ReadDefaultValue(const std::string& path, std::string* value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    LONG status = ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    *value = buffer;
    return true;
}

bool WriteDefaultValue(const std::string& path, const std::string& value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr)
        != ERROR_SUCCESS)
        return false;
    LONG status = ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace

LinkRecorder::LinkRecorder()
{
    char temp[MAX_PATH] = {};
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH)
        return;
    m_recordFile = std::string(temp) + "zephlaunch_link_record.txt";
    ::DeleteFileA(m_recordFile.c_str());
    m_registered = Register(zt::BinPath("fixture_link_recorder.exe"));
}

LinkRecorder::~LinkRecorder()
{
    for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
        if (saved->existed)
            WriteDefaultValue(saved->key, saved->value);
        else
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, saved->key.c_str());
    }
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kMscClass);
    if (!m_recordFile.empty())
        ::DeleteFileA(m_recordFile.c_str());
}

bool LinkRecorder::SetCommand(const std::string& key, const std::string& value)
{
    bool known = false;
    for (const Saved& saved : m_saved)
        known = known || saved.key == key;
    if (!known) {
        Saved saved;
        saved.key = key;
        saved.existed = ReadDefaultValue(key, &saved.value);
        m_saved.push_back(saved);
    }
    return WriteDefaultValue(key, value);
}

bool LinkRecorder::Register(const std::string& program)
{
    const std::string command = "\"" + program + "\" \"" + m_recordFile + "\" \"%1\" %*";
    bool ok = true;
    for (const char* scheme : kSchemes)
        ok = SetCommand(std::string(scheme) + "\\shell\\open\\command", command) && ok;
    ok = SetCommand(".msc", kMscClass) && ok;
    ok = WriteDefaultValue(std::string(kMscClass) + "\\shell\\open\\command", command) && ok;
    return ok;
}

void LinkRecorder::BreakRegistrations() { Register("C:\\no such folder\\no_such_program.exe"); }

std::vector<ShellInvocation> LinkRecorder::Invocations() const
{
    std::vector<ShellInvocation> invocations;
    std::istringstream lines(zt::ReadFileBytes(m_recordFile));
    std::string line;
    ShellInvocation current;
    while (std::getline(lines, line)) {
        if (line.compare(0, 4, "cwd=") == 0) {
            current = ShellInvocation();
            current.folder = line.substr(4);
        } else if (line.compare(0, 4, "arg=") == 0) {
            current.args.push_back(line.substr(4));
        } else if (line == "end") {
            invocations.push_back(current);
        }
    }
    return invocations;
}

bool LinkRecorder::WaitFor(size_t count, int milliseconds) const
{
    return PumpUntil([&] { return Invocations().size() >= count; }, milliseconds);
}

void LinkRecorder::Clear() const { ::DeleteFileA(m_recordFile.c_str()); }

}  // namespace gt
