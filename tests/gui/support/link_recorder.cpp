#include "support/link_recorder.h"

#include "support/gui_driver.h"
#include "support/wine_harness.h"

#include <windows.h>

#include <sstream>

namespace gt {

namespace {

const char* const kSchemes[] = {"http", "https", "mailto"};
const char kMscClass[] = "ZephlaunchTest.msc";

bool SetDefaultValue(const std::string& subKey, const std::string& value, const char* name = nullptr)
{
    HKEY key = nullptr;
    std::string path = "Software\\Classes\\" + subKey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG status = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void DeleteClassKey(const std::string& subKey)
{
    std::string path = "Software\\Classes\\" + subKey;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
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
    for (const char* scheme : kSchemes)
        DeleteClassKey(scheme);
    DeleteClassKey(".msc");
    DeleteClassKey(kMscClass);
    if (!m_recordFile.empty())
        ::DeleteFileA(m_recordFile.c_str());
}

bool LinkRecorder::Register(const std::string& program)
{
    const std::string command = "\"" + program + "\" \"" + m_recordFile + "\" \"%1\" %*";
    bool ok = true;
    for (const char* scheme : kSchemes) {
        ok = SetDefaultValue(scheme, std::string("URL:") + scheme) && ok;
        ok = SetDefaultValue(scheme, "", "URL Protocol") && ok;
        ok = SetDefaultValue(std::string(scheme) + "\\shell\\open\\command", command) && ok;
    }
    ok = SetDefaultValue(".msc", kMscClass) && ok;
    ok = SetDefaultValue(std::string(kMscClass) + "\\shell\\open\\command", command) && ok;
    return ok;
}

void LinkRecorder::BreakRegistrations()
{
    Register("C:\\no such folder\\no_such_program.exe");
}

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

void LinkRecorder::Clear() const
{
    ::DeleteFileA(m_recordFile.c_str());
}

}  // namespace gt
