// Phases 3 and 8 against services that Wine itself provides: Spooler stops and starts,
// Schedule refuses STOP. These services are shared by the whole prefix, so the tests run
// alone ("_serial_") and put each service back into the state it had before.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_services.h"
#include "support/wine_harness.h"

namespace {

// Brings a system service into a state for one test and restores its old state after
// (as far as the service lets itself be stopped: Schedule, once started, keeps running).
class SystemServiceState {
public:
    SystemServiceState(const std::string& name, DWORD state) : m_name(name), m_before(zt::ServiceState(name))
    {
        Bring(state);
    }
    ~SystemServiceState() { Bring(m_before); }
    SystemServiceState(const SystemServiceState&) = delete;
    SystemServiceState& operator=(const SystemServiceState&) = delete;

private:
    void Bring(DWORD state)
    {
        if (zt::ServiceState(m_name) == state)
            return;
        if (state == SERVICE_RUNNING)
            zt::StartAndWait(m_name);
        if (state == SERVICE_STOPPED)
            zt::StopAndWait(m_name);
    }
    std::string m_name;
    DWORD m_before;
};

class SystemServices : public ::testing::Test {
protected:
    std::string Run(const std::string& key, const std::string& action)
    {
        zt::WriteFileBytes(ProfilePath(), zt::ServicesProfile({{key, action}}));
        zt::RunOptions options;
        options.workDir = m_folder.Path();
        const zt::RunResult result = zt::RunController({ProfilePath()}, options);
        EXPECT_FALSE(result.timedOut);
        return zt::NormalizeMemoryFigures(result.output);
    }
    std::string Expected(const std::vector<std::string>& phase3, const std::vector<std::string>& phase8)
    {
        return zt::Transcript(zt::ServiceRunMessages(ProfilePath(), phase3, phase8));
    }
    std::string ProfilePath() const { return m_folder.File("system.ini"); }

private:
    zt::TempFolder m_folder;
};

TEST_F(SystemServices, SpoolerIsStoppedAndStartedAgain)
{
    SystemServiceState running("Spooler", SERVICE_RUNNING);
    ASSERT_EQ(zt::ServiceState("Spooler"), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string name = zt::ServiceDisplayName("Spooler");
    EXPECT_EQ(Run("Spooler", "Stop & Restart"),
              Expected({"\r\nStopping '" + name + "'..."}, {"\r\nStarting '" + name + "'..."}));
    EXPECT_EQ(zt::ServiceState("Spooler"), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(SystemServices, SpoolerMarkedStopStaysStopped)
{
    SystemServiceState running("Spooler", SERVICE_RUNNING);
    ASSERT_EQ(zt::ServiceState("Spooler"), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string name = zt::ServiceDisplayName("Spooler");
    EXPECT_EQ(Run("Spooler", "Stop"), Expected({"\r\nStopping '" + name + "'..."}, {}));
    EXPECT_EQ(zt::ServiceState("Spooler"), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(SystemServices, StoppedSpoolerIsNotStartedByPhase8)
{
    SystemServiceState stopped("Spooler", SERVICE_STOPPED);
    ASSERT_EQ(zt::ServiceState("Spooler"), static_cast<DWORD>(SERVICE_STOPPED));
    const std::string name = zt::ServiceDisplayName("Spooler");
    EXPECT_EQ(Run("Spooler", "Stop & Restart"), Expected({"\r\nStopping '" + name + "'..."}, {}));
    EXPECT_EQ(zt::ServiceState("Spooler"), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(SystemServices, ScheduleRefusesStop)
{
    SystemServiceState running("Schedule", SERVICE_RUNNING);
    ASSERT_EQ(zt::ServiceState("Schedule"), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string name = zt::ServiceDisplayName("Schedule");
    EXPECT_EQ(Run("Schedule", "Stop & Restart"),
              Expected({"\r\nStopping '" + name + "'...",
                        "\r\nERROR: '" + name + "' does not respond to STOP requests.  Skipping..."},
                       {"\r\nStarting '" + name + "'..."}));
    EXPECT_EQ(zt::ServiceState("Schedule"), static_cast<DWORD>(SERVICE_RUNNING));
}

}  // namespace
