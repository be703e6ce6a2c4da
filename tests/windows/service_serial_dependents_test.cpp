// The dependents of phases 3 and 8 (the service threads and StopDependentServices), driven
// directly against Wine's real Service Control Manager with fixture services that depend on
// each other. Wine's manager never refuses STOP because of running dependents, so a run of
// zephrun.exe cannot get there: a stand-in plays that refusal, and the routines' messages
// and journal calls are captured. The search walks every installed service, so these tests
// run alone ("_serial_").
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controller/log_message.h"
#include "controller/service_dependents.h"
#include "service_direct/captured_log.h"
#include "controller/service_threads.h"
#include "service_direct/protected_services.h"
#include "support/test_services.h"

namespace {

using zt::CapturedMessage;

CapturedMessage StoppingDependent(const zt::FixtureService& service)
{
    return {LOG_PLAIN, "\r\nStopping dependent service " + service.DisplayName() + "..."};
}
CapturedMessage Starting(const zt::FixtureService& service)
{
    return {LOG_PLAIN, "\r\nStarting '" + service.DisplayName() + "'..."};
}

std::vector<CapturedMessage> Sorted(std::vector<CapturedMessage> messages)
{
    std::sort(messages.begin(), messages.end());
    return messages;
}

void PrintTo(const CapturedMessage& message, std::ostream* out)
{
    *out << "{" << message.level << ", \"" << message.text << "\"}";
}

class ServiceDependents : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager.reset(new zt::ScmHandle(zt::OpenManager()));
        zt::TakeCapturedMessages();
    }
    void TearDown() override { zt::UnprotectAllServices(); }
    SC_HANDLE Manager() const { return m_manager->Get(); }

private:
    std::unique_ptr<zt::ScmHandle> m_manager;
};

}  // namespace

namespace zt {
void PrintTo(const CapturedMessage& message, std::ostream* out) { ::PrintTo(message, out); }
}  // namespace zt

namespace {

// Windows refuses STOP while dependents run (the stand-in plays it): phase 3 stops the active
// dependents at every depth, each waited for until it has stopped, then the parent. Those
// without an entry of their own are journaled after it and started again after it.
TEST_F(ServiceDependents, RefusedStopStopsTheDependentsFirstAndTheStartBringsThemBack)
{
    zt::FixtureService parent("zeph_parent", "prompt");
    zt::FixtureService child("zeph_dep_a", "slow 3 300 2500", {"ZephSomethingElse", parent.Name()});
    zt::FixtureService grandchild("zeph_grandchild", "prompt", {child.Name()});
    zt::FixtureService listed("zeph_dep_own", "prompt", {parent.Name()});
    zt::FixtureService unrelated("zeph_unrelated", "prompt");
    for (const zt::FixtureService* service : {&parent, &child, &grandchild, &listed, &unrelated})
        ASSERT_EQ(service->Start(), static_cast<DWORD>(SERVICE_RUNNING)) << service->Name();
    for (const zt::FixtureService* service : {&child, &grandchild, &listed})
        zt::RefuseStopWhileRunning(parent.Name(), service->Name());
    zt::RefuseStopWhileRunning(child.Name(), grandchild.Name());
    const std::vector<std::string> keys = {parent.Name(), listed.Name()};
    auto block = [&](bool journal) {
        ServiceThreadBlock* made = new ServiceThreadBlock{Manager(), {}, journal, &keys};
        lstrcpynA(made->key, parent.Name().c_str(), sizeof made->key);
        return made;
    };

    StopServiceThread(block(true));

    // The dependent with an entry of its own is stopped in the manager's order, and not journaled.
    std::vector<CapturedMessage> messages = zt::TakeCapturedMessages();
    const auto own = std::find(messages.begin(), messages.end(), StoppingDependent(listed));
    ASSERT_NE(own, messages.end());
    messages.erase(own);
    EXPECT_EQ(messages, std::vector<CapturedMessage>(
                            {{LOG_PLAIN, "\r\nStopping '" + parent.DisplayName() + "'..."},
                             {-1, "+" + parent.Name()},
                             {LOG_PLAIN, "\r\nOther services are dependent upon " + parent.DisplayName()},
                             StoppingDependent(grandchild),
                             {-1, "+" + grandchild.Name()},
                             StoppingDependent(child),
                             {-1, "+" + child.Name()}}));
    for (const zt::FixtureService* service : {&parent, &child, &grandchild, &listed})
        EXPECT_EQ(service->State(), static_cast<DWORD>(SERVICE_STOPPED)) << service->Name();
    EXPECT_EQ(unrelated.State(), static_cast<DWORD>(SERVICE_RUNNING));

    EXPECT_EQ(StartServiceThread(block(false)), 0u);
    EXPECT_EQ(zt::TakeCapturedMessages(),
              std::vector<CapturedMessage>({Starting(parent), Starting(child), Starting(grandchild)}));
    for (const zt::FixtureService* service : {&parent, &child, &grandchild})
        EXPECT_EQ(service->State(), static_cast<DWORD>(SERVICE_RUNNING)) << service->Name();
    EXPECT_EQ(listed.State(), static_cast<DWORD>(SERVICE_STOPPED));  // its own entry decides
}

// A needed service (PlugPlay, made to depend on a fixture) protects what it depends on at any depth.
TEST_F(ServiceDependents, ANeededServiceAmongTheDependentsStopsNothing)
{
    zt::FixtureService parent("zeph_parent_n", "prompt");
    zt::FixtureService child("zeph_dep_n", "prompt", {parent.Name()});
    ASSERT_EQ(child.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string list = child.Name() + std::string(2, '\0');
    const char plugPlay[] = "SYSTEM\\CurrentControlSet\\Services\\PlugPlay";
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, plugPlay, "DependOnService", REG_MULTI_SZ, list.data(),
                              static_cast<DWORD>(list.size())),
              ERROR_SUCCESS);
    const bool stopping = StopDependentServices(Manager(), parent.Name().c_str(), false, nullptr);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, plugPlay, "DependOnService");
    EXPECT_FALSE(stopping);
    EXPECT_EQ(zt::TakeCapturedMessages(),
              std::vector<CapturedMessage>({{LOG_WARNING, "\r\nWARNING: '" + parent.Name()
                                                              + "' is not stopped: that would also stop "
                                                                "'PlugPlay', which is needed by Windows."}}));
    EXPECT_EQ(child.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServiceDependents, DependencyNamesAreComparedWithoutRegardToCase)
{
    zt::FixtureService parent("zeph_parent_case", "prompt");
    std::string upper = parent.Name();
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    zt::FixtureService other("zeph_dep_case", "prompt", {upper});
    ASSERT_EQ(other.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    StopDependentServices(Manager(), parent.Name().c_str(), false, nullptr);
    EXPECT_EQ(zt::TakeCapturedMessages(), std::vector<CapturedMessage>({StoppingDependent(other)}));
    EXPECT_EQ(other.State(), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(ServiceDependents, DependentThatRefusesStopIsReportedWithItsErrorCode)
{
    zt::FixtureService parent("zeph_parent_r", "prompt");
    zt::FixtureService refusing("zeph_dep_refuse", "refuse", {parent.Name()});
    ASSERT_EQ(refusing.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    StopDependentServices(Manager(), parent.Name().c_str(), false, nullptr);
    EXPECT_EQ(zt::TakeCapturedMessages(),
              std::vector<CapturedMessage>({StoppingDependent(refusing),
                                            {LOG_ERROR, "\r\nERROR: Unable to stop Service '"
                                                            + refusing.Name() + "', error = 1052"}}));
    EXPECT_EQ(refusing.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServiceDependents, DependentAlreadyStoppingIsWaitedForWithDots)
{
    // The dependent hangs in STOP_PENDING with wait hint 0: the request is refused with
    // ERROR_SERVICE_CANNOT_ACCEPT_CTRL, and the wait polls once after a second (one dot).
    zt::FixtureService parent("zeph_parent_h", "prompt");
    zt::FixtureService hanging("zeph_dep_hang", "hang 0", {parent.Name()});
    ASSERT_EQ(hanging.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    {
        zt::ScmHandle service(OpenServiceA(Manager(), hanging.Name().c_str(), SERVICE_STOP));
        SERVICE_STATUS status = {};
        ASSERT_TRUE(ControlService(service.Get(), SERVICE_CONTROL_STOP, &status));
    }
    ASSERT_EQ(hanging.State(), static_cast<DWORD>(SERVICE_STOP_PENDING));
    StopDependentServices(Manager(), parent.Name().c_str(), false, nullptr);
    EXPECT_EQ(zt::TakeCapturedMessages(),
              std::vector<CapturedMessage>({StoppingDependent(hanging), {LOG_PLAIN, "."}}));
}

TEST_F(ServiceDependents, SearchFindsDependentsAmongHundredsOfServices)
{
    // 150 more services with long display names: their list no longer fits the 30720
    // bytes a single enumeration call used to get.
    std::vector<std::unique_ptr<zt::FixtureService>> crowd;
    for (int i = 0; i < 150; ++i) {
        crowd.emplace_back(new zt::FixtureService("zeph_crowd_" + std::string(150, 'x'), "prompt"));
    }
    {
        using EnumProc = BOOL(WINAPI*)(SC_HANDLE, SC_ENUM_TYPE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD,
                                       LPDWORD, LPCSTR);
        const auto enumerate = reinterpret_cast<EnumProc>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("advapi32.dll"), "EnumServicesStatusExA")));
        ASSERT_NE(enumerate, nullptr);
        std::vector<BYTE> buffer(30720);
        DWORD needed = 0, returned = 0, resume = 0;
        ASSERT_FALSE(enumerate(Manager(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                               buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &returned, &resume,
                               nullptr))
            << "the services still fit one 30720-byte call; the test proves nothing";
    }
    zt::FixtureService parent("zeph_parent_many", "prompt");
    zt::FixtureService dependent("zeph_dep_many", "prompt", {parent.Name()});
    ASSERT_EQ(dependent.Start(), static_cast<DWORD>(SERVICE_RUNNING));

    StopDependentServices(Manager(), parent.Name().c_str(), false, nullptr);

    EXPECT_EQ(zt::TakeCapturedMessages(), std::vector<CapturedMessage>({StoppingDependent(dependent)}));
    EXPECT_EQ(zt::WaitForServiceState(dependent.Name(), SERVICE_STOPPED),
              static_cast<DWORD>(SERVICE_STOPPED));
}

// Services that refuse full access (as Windows 10's protected services do) are searched with
// the reading rights they grant: an unrelated protected service gives no error line, and a
// dependent is opened with stop rights only once it is known to be one. A protected
// dependent is reported as one that cannot be opened.
TEST_F(ServiceDependents, ProtectedServicesAreSearchedWithReadingRightsOnly)
{
    zt::FixtureService parent("zeph_parent_p", "prompt");
    zt::FixtureService dependent("zeph_dep_plain", "prompt", {parent.Name()});
    zt::FixtureService guarded("zeph_dep_guarded", "prompt", {parent.Name()});
    zt::FixtureService bystander("zeph_bystander", "prompt");
    for (const zt::FixtureService* service : {&dependent, &guarded, &bystander}) {
        ASSERT_EQ(service->Start(), static_cast<DWORD>(SERVICE_RUNNING)) << service->Name();
    }
    zt::ProtectService(guarded.Name());
    zt::ProtectService(bystander.Name());

    StopDependentServices(Manager(), parent.Name().c_str(), false, nullptr);

    // In the order the manager lists the services, which is not fixed.
    EXPECT_EQ(Sorted(zt::TakeCapturedMessages()),
              Sorted({StoppingDependent(dependent),
                      {LOG_ERROR, "\r\nERROR: Unable to open dependent Service '" + guarded.Name()
                                      + "' (parent = '" + parent.Name() + "'), error = 5"}}));
    EXPECT_EQ(zt::WaitForServiceState(dependent.Name(), SERVICE_STOPPED),
              static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(guarded.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(bystander.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

}  // namespace
