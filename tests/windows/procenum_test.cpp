// The process enumeration on both of its paths, through copies of fixture_procwalk.exe (which
// prints every notification) for which Wine reports different Windows versions: Toolhelp by
// default and with Windows 98, PSAPI with Windows NT 4.0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "support/wine_harness.h"

namespace {

bool SameTextIgnoringCaseForTest(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

struct Walk {
    std::vector<std::pair<DWORD, std::string>> processes;  // or modules: (0, "path|name")
    std::string summary;                                   // the last line
};

Walk RunWalker(const std::string& walkerPath, const std::string& arguments)
{
    zt::RunResult result = zt::RunCommand("\"" + walkerPath + "\" " + arguments);
    Walk walk;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("result ", 0) == 0) {
            walk.summary = line;
        } else if (!line.empty() && line[0] >= '0' && line[0] <= '9' && line.find(' ') != std::string::npos) {
            walk.processes.emplace_back(std::strtoul(line.c_str(), nullptr, 10),
                                        line.substr(line.find(' ') + 1));
        } else if (!line.empty()) {
            walk.processes.emplace_back(0, line);
        }
    }
    return walk;
}

std::string NameOf(const Walk& walk, DWORD processId)
{
    for (const auto& process : walk.processes) {
        if (process.first == processId)
            return process.second;
    }
    return "<not listed>";
}

const std::vector<std::string> kLasting = {"services.exe", "winedevice.exe", "plugplay.exe", "rpcss.exe"};

// The walk succeeded on the expected path and notified each process or module once; a
// process walk holds this test, the fixture and Wine's lasting processes as the test's own
// Toolhelp snapshot finds them.
void ExpectWholeWalk(const Walk& walk, bool psapi, DWORD fixtureId = 0)
{
    EXPECT_EQ(
        walk.summary.rfind(std::string("result 1 psapi ") + (psapi ? "1" : "0") + " helpers 1 count ", 0), 0u)
        << walk.summary;
    std::set<std::pair<DWORD, std::string>> seen;
    for (const auto& entry : walk.processes)
        EXPECT_TRUE(seen.insert(entry).second) << "notified twice: " << entry.first << " " << entry.second;
    if (fixtureId == 0)
        return;
    std::set<DWORD> ids;
    for (const auto& entry : walk.processes)
        ids.insert(entry.first);
    EXPECT_EQ(ids.count(GetCurrentProcessId()), 1u);
    EXPECT_EQ(ids.count(fixtureId), 1u);
    // A 32-bit PSAPI walk on 64-bit Windows cannot open the 64-bit ones (see below).
    BOOL wow64 = FALSE;
    if (psapi && sizeof(void*) == 4 && IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        return;
    for (const std::string& name : kLasting) {
        for (DWORD id : zt::FindProcesses(name))
            EXPECT_EQ(ids.count(id), 1u) << name;
    }
}

class ProcessEnumeration : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_programPath = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "procenum_seen.exe");
        m_program.reset(new zt::FixtureProgram(m_programPath, "--no-window"));
    }
    std::string Walker(const std::string& name)
    {
        return zt::CopyBinaryAs("fixture_procwalk.exe", m_folder.Path(), name);
    }

    zt::TempFolder m_folder;
    std::string m_programPath;
    std::unique_ptr<zt::FixtureProgram> m_program;
};

TEST_F(ProcessEnumeration, ToolhelpReportsFileNamesAndPsapiFullPathsOfTheSameProcesses)
{
    const Walk toolhelp = RunWalker(Walker("procenum_walk_th.exe"), "processes");
    const std::string nt4Walker = Walker("procenum_walk_nt4.exe");
    zt::ScopedWineVersion version("procenum_walk_nt4.exe", "nt40");
    const Walk psapi = RunWalker(nt4Walker, "processes");

    ExpectWholeWalk(toolhelp, false, m_program->Id());
    ExpectWholeWalk(psapi, true, m_program->Id());
    EXPECT_EQ(NameOf(toolhelp, m_program->Id()), "procenum_seen.exe");
    EXPECT_TRUE(SameTextIgnoringCaseForTest(NameOf(psapi, m_program->Id()), m_programPath))
        << NameOf(psapi, m_program->Id()) << " vs " << m_programPath;

    // Wine's long-lived processes appear in both walks, under their full path in the PSAPI
    // one. (Other tests start and end programs meanwhile, so only these are compared.)
    // A 32-bit walker on 64-bit Windows cannot read a 64-bit process's modules through PSAPI,
    // and those processes are 64-bit there: the comparison needs a walker of their own kind.
    BOOL wow64 = FALSE;
    if (sizeof(void*) == 4 && IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        return;
    size_t compared = 0;
    for (const auto& process : toolhelp.processes) {
        bool isLasting = false;
        for (const std::string& name : kLasting)
            isLasting = isLasting || process.second == name;
        if (!isLasting)
            continue;
        const std::string full = NameOf(psapi, process.first);
        EXPECT_TRUE(SameTextIgnoringCaseForTest(full, "C:\\windows\\system32\\" + process.second)) << full;
        ++compared;
    }
    EXPECT_GE(compared, 4u);
}

TEST_F(ProcessEnumeration, Windows98WalksWithToolhelp)
{
    const std::string walker = Walker("procenum_walk_98.exe");
    zt::ScopedWineVersion version("procenum_walk_98.exe", "win98");
    const Walk walk = RunWalker(walker, "processes");
    ExpectWholeWalk(walk, false, m_program->Id());
    // Wine reports bare names here; Windows 98 reports full paths. Either way the file name
    // part is the executable's.
    const std::string name = NameOf(walk, m_program->Id());
    EXPECT_EQ(name.substr(name.find_last_of('\\') + 1), "procenum_seen.exe");
}

TEST_F(ProcessEnumeration, ANotificationReturningFalseEndsTheWalkWhichStillSucceeds)
{
    const Walk toolhelp = RunWalker(Walker("procenum_walk_th1.exe"), "processes 1");
    EXPECT_EQ(toolhelp.processes.size(), 1u);
    EXPECT_EQ(toolhelp.summary, "result 1 psapi 0 helpers 1 count 1");

    const std::string nt4Walker = Walker("procenum_walk_nt41.exe");
    zt::ScopedWineVersion version("procenum_walk_nt41.exe", "nt40");
    const Walk psapi = RunWalker(nt4Walker, "processes 2");
    EXPECT_EQ(psapi.processes.size(), 2u);
    EXPECT_EQ(psapi.summary, "result 1 psapi 1 helpers 1 count 2");
}

TEST_F(ProcessEnumeration, ModulesOfAProcessBeginWithItsExecutableOnBothPaths)
{
    const std::string id = std::to_string(m_program->Id());
    const std::string expected = m_programPath + "|procenum_seen.exe";
    const Walk toolhelp = RunWalker(Walker("procenum_walk_thm.exe"), "modules " + id);
    const std::string nt4Walker = Walker("procenum_walk_nt4m.exe");
    zt::ScopedWineVersion version("procenum_walk_nt4m.exe", "nt40");
    const Walk psapi = RunWalker(nt4Walker, "modules " + id);

    for (const Walk* walk : {&toolhelp, &psapi}) {
        ASSERT_GE(walk->processes.size(), 2u) << walk->summary;
        EXPECT_TRUE(SameTextIgnoringCaseForTest(walk->processes[0].second, expected))
            << walk->processes[0].second;
        bool kernel32 = false;
        for (const auto& module : walk->processes) {
            if (module.second.size() > 13
                && SameTextIgnoringCaseForTest(module.second.substr(module.second.size() - 13),
                                               "|kernel32.dll")) {
                kernel32 = true;
            }
        }
        EXPECT_TRUE(kernel32);
    }
    ExpectWholeWalk(toolhelp, false);
    ExpectWholeWalk(psapi, true);
}

TEST_F(ProcessEnumeration, ModulesOfAnEndedProcessGiveNoNotification)
{
    const std::string id = std::to_string(m_program->Id());
    m_program.reset();  // terminates it
    const Walk toolhelp = RunWalker(Walker("procenum_walk_thg.exe"), "modules " + id);
    const std::string nt4Walker = Walker("procenum_walk_nt4g.exe");
    zt::ScopedWineVersion version("procenum_walk_nt4g.exe", "nt40");
    const Walk psapi = RunWalker(nt4Walker, "modules " + id);

    EXPECT_TRUE(toolhelp.processes.empty());
    EXPECT_EQ(toolhelp.summary.substr(toolhelp.summary.size() - 7), "count 0");
    EXPECT_EQ(psapi.summary, "result 0 psapi 1 helpers 1 count 0");
}

// The PSAPI path needs PSAPI.DLL only: without VDMDBG.DLL it walks, without PSAPI.DLL it fails.
TEST_F(ProcessEnumeration, ThePsapiWalkNeedsPsapiButNotVdmdbg)
{
    const std::string noVdm = Walker("procenum_walk_novdm.exe");
    zt::ScopedWineVersion version("procenum_walk_novdm.exe", "nt40");
    zt::ScopedDllDisabled disabled("procenum_walk_novdm.exe", "vdmdbg");
    ExpectWholeWalk(RunWalker(noVdm, "processes"), true, m_program->Id());

    const std::string noPsapi = Walker("procenum_walk_nopsapi.exe");
    zt::ScopedWineVersion nt4("procenum_walk_nopsapi.exe", "nt40");
    zt::ScopedDllDisabled psapi("procenum_walk_nopsapi.exe", "psapi");
    const Walk walk = RunWalker(noPsapi, "processes");
    EXPECT_TRUE(walk.processes.empty());
    EXPECT_EQ(walk.summary, "result 0 psapi 1 helpers 0 count 0");
}

}  // namespace
