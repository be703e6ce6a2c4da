// The ways out of the GUI: the About box with its links and icon buttons, Donate and
// Tools > Service Manager. What they hand to the shell is seen twice: in-process at
// the GUI's one ShellExecute seam (which then lets the real shell run), and by a
// recorder program that the test registers for http, https, mailto and .msc, which
// the shell really starts.
#include "framework/shell_execute.h"
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/link_recorder.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"
#include "web_addresses.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kMain[] = "Zephlaunch - zephlaunch";
const char kAbout[] = "About Zephlaunch";
const char kEmailTip[] = "Click to send an email to Quillon";
const char kWebTip[] = "Click to open your browser to the Zephlaunch web site";
// What the shell is handed, written out for the addresses a build sets by default.
const char kMailLink[] = "mailto:support@zephlaunch.example?subject=Zephlaunch%20Support%20Email";
const char kDonationPage[] =
    "https://donate.zephlaunch.example/donate?business=donate%40zephlaunch.example&item_name=Zephlaunch"
    "&item_number=zephlaunch-1.1&no_note=1&tax=0&currency_code=USD";

struct SeenRequest {
    ShellExecuteRequest request;
    bool ok = false;
};
std::vector<SeenRequest> g_seen;

// Notes the request, then lets the shell carry it out.
ShellExecuteOutcome NoteAndRun(const ShellExecuteRequest& request)
{
    ShellExecuteOutcome outcome = ShellExecuteWithShell(request);
    g_seen.push_back({request, outcome.ok});
    if (outcome.process)
        ::CloseHandle(outcome.process);
    return outcome;
}

std::string Expand(const char* text)
{
    char expanded[1024] = {};
    DWORD length = ::ExpandEnvironmentStringsA(text, expanded, sizeof expanded);
    return length > 0 && length <= sizeof expanded ? expanded : "";
}

std::wstring WideText(HWND window)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

// The text of the first static control of a dialog whose text starts with prefix.
struct StaticSearch {
    const wchar_t* prefix;
    std::wstring found;
};

BOOL CALLBACK FindStatic(HWND child, LPARAM lp)
{
    auto* search = reinterpret_cast<StaticSearch*>(lp);
    std::wstring text = WideText(child);
    if (text.compare(0, wcslen(search->prefix), search->prefix) == 0) {
        search->found = text;
        return FALSE;
    }
    return TRUE;
}

std::wstring StaticStartingWith(HWND dialog, const wchar_t* prefix)
{
    StaticSearch search = {prefix, L""};
    ::EnumChildWindows(dialog, &FindStatic, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A left click on a hyperlink control, a few pixels into its text.
void ClickLink(HWND dialog, int id)
{
    HWND link = gt::Item(dialog, id);
    ::UpdateWindow(link);
    POINT point = {3, 3};
    ::ClientToScreen(link, &point);
    gt::ClickAt(link, point, false);
}

class WaysOut : public gt::FreshSettingsTest {
protected:
    void SetUp() override
    {
        FreshSettingsTest::SetUp();
        g_seen.clear();
        m_previous = SetShellExecuteHandler(&NoteAndRun);
    }
    void TearDown() override
    {
        SetShellExecuteHandler(m_previous);
        FreshSettingsTest::TearDown();
    }

    static void Run(gt::GuiDriver& driver) { gt::RunMainWindowScript(driver, 40); }

    ShellExecuteHandler m_previous = nullptr;
};

TEST_F(WaysOut, AboutBoxShowsVersionNoticeAndTheAddresses)
{
    gt::GuiDriver driver;
    std::string email, web, library, okText;
    std::wstring version, notice;
    LONG_PTR exStyle = 0;
    DWORD closedAt = 0, answeredAfter = 0;
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_ABOUT); });
    driver.Step(kAbout, [&](HWND dialog) {
        gt::SaveWindowScreenshot(dialog, "about-box");
        version = StaticStartingWith(dialog, L"Zephlaunch Version");
        notice = StaticStartingWith(dialog, L"Copyright");
        email = gt::TitleOf(gt::Item(dialog, IDC_ABOUT_EMAIL_LINK));
        web = gt::TitleOf(gt::Item(dialog, IDC_ABOUT_WEB_LINK));
        library = gt::TitleOf(gt::Item(dialog, IDC_ABOUT_LIBRARY_LINK));
        okText = gt::TitleOf(gt::Item(dialog, IDOK));
        exStyle = ::GetWindowLongPtrA(dialog, GWL_EXSTYLE);
        // Escape closes the box.
        HWND focus = ::GetFocus();
        closedAt = ::GetTickCount();
        ::PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    driver.Step(kMain, [&](HWND window) {
        answeredAfter = ::GetTickCount() - closedAt;
        gt::Command(window, ID_APP_EXIT);
    });
    Run(driver);
    // Nothing on the way back blocks (a closing window must not wait for anything).
    EXPECT_LT(answeredAfter, 500u);
    EXPECT_EQ(version, L"Zephlaunch Version 1.1 (Build 11)");
    EXPECT_EQ(notice, L"Copyright \u00A9 2026 The Zephlaunch authors.\nReleased under the MIT License.");
    EXPECT_EQ(email, ZEPH_SUPPORT_EMAIL);
    EXPECT_EQ(web, ZEPH_WEB_SITE);
    EXPECT_EQ(library, "the file library");
    EXPECT_EQ(okText, "OK");
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(g_seen.empty());
}

TEST_F(WaysOut, IconButtonsAndLinksOpenTheSameAddressesInTheShell)
{
    gt::LinkRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    gt::GuiDriver driver;
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_ABOUT); });
    driver.Step(kAbout, [&](HWND dialog) {
        // Each program the shell starts appends to the record when it gets to it: every click
        // waits for its entry there, so that the record keeps the order of the clicks.
        for (int id : {IDC_ABOUT_EMAIL_BUTTON, IDC_ABOUT_WEB_BUTTON, IDC_ABOUT_EMAIL_LINK, IDC_ABOUT_WEB_LINK,
                       IDC_ABOUT_LIBRARY_LINK}) {
            const size_t count = g_seen.size() + 1;
            if (id == IDC_ABOUT_EMAIL_BUTTON || id == IDC_ABOUT_WEB_BUTTON)
                gt::Click(dialog, id);
            else
                ClickLink(dialog, id);
            gt::PumpUntil([count] { return g_seen.size() >= count; }, 5000);
            recorder.WaitFor(count);
        }
        gt::Click(dialog, IDOK);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    Run(driver);

    ASSERT_EQ(g_seen.size(), 5u);
    const char* files[5] = {kMailLink, ZEPH_WEB_SITE, kMailLink, ZEPH_WEB_SITE, ZEPH_FILE_LIBRARY};
    for (size_t i = 0; i < 5; ++i) {
        const ShellExecuteRequest& r = g_seen[i].request;
        EXPECT_EQ(r.file, files[i]) << i;
        EXPECT_EQ(r.owner, nullptr) << i;
        // The buttons use the default verb, the links "open".
        EXPECT_EQ(r.verb, i < 2 ? "" : "open") << i;
        EXPECT_EQ(r.parameters, "") << i;
        EXPECT_EQ(r.directory, "") << i;
        EXPECT_EQ(r.show, SW_SHOWNORMAL) << i;
        EXPECT_TRUE(g_seen[i].ok) << i;
    }
    // The programs the shell started got the same addresses, in the same order.
    std::vector<gt::ShellInvocation> opened = recorder.Invocations();
    ASSERT_EQ(opened.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        ASSERT_FALSE(opened[i].args.empty()) << i;
        EXPECT_EQ(opened[i].args[0], files[i]) << i;
    }
}

TEST_F(WaysOut, AboutToolTipsPairEachIconWithItsLink)
{
    gt::GuiDriver driver;
    std::vector<std::string> tips;
    bool emailButtonTip = false, emailLinkTip = false;
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_ABOUT); });
    driver.Step(kAbout, [&](HWND dialog) {
        for (int id : {IDC_ABOUT_EMAIL_BUTTON, IDC_ABOUT_EMAIL_LINK, IDC_ABOUT_WEB_BUTTON, IDC_ABOUT_WEB_LINK,
                       IDC_ABOUT_LIBRARY_LINK, IDOK})
            tips.push_back(gt::ToolTipText(dialog, id));
        emailButtonTip = gt::ToolTipAppearsOver(dialog, IDC_ABOUT_EMAIL_BUTTON, "about-box-tip");
        emailLinkTip = gt::ToolTipAppearsOver(dialog, IDC_ABOUT_EMAIL_LINK);
        gt::Click(dialog, IDOK);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    Run(driver);
    ASSERT_EQ(tips.size(), 6u);
    EXPECT_EQ(tips[0], kEmailTip);
    EXPECT_EQ(tips[1], kEmailTip);
    EXPECT_EQ(tips[2], kWebTip);
    EXPECT_EQ(tips[3], kWebTip);
    EXPECT_NE(tips[4], "<no tool>");
    EXPECT_EQ(tips[5], "<no tool>");
    EXPECT_TRUE(emailButtonTip);
    EXPECT_TRUE(emailLinkTip);
}

TEST_F(WaysOut, AboutShowsNoTipsWhenToolTipsAreOff)
{
    zt::WriteFileBytes(gt::WindowPosFile(), gt::IniText("[ProgramOptions]\nShowToolTips=0\n"));
    gt::GuiDriver driver;
    bool buttonTip = true, linkTip = true;
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_ABOUT); });
    driver.Step(kAbout, [&](HWND dialog) {
        buttonTip = !gt::ToolTipStaysHidden(dialog, IDC_ABOUT_WEB_BUTTON);
        linkTip = !gt::ToolTipStaysHidden(dialog, IDC_ABOUT_WEB_LINK);
        gt::Click(dialog, IDOK);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    Run(driver);
    EXPECT_FALSE(buttonTip);
    EXPECT_FALSE(linkTip);
}

TEST_F(WaysOut, DonateOpensTheDonationPageAndThanks)
{
    gt::LinkRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    const std::string page = kDonationPage;
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK});
    HWND mainWindow = nullptr;
    size_t openedFirst = 0;
    driver.Step(kMain, [&](HWND window) {
        mainWindow = window;
        gt::Command(window, ID_DONATE);
    });
    driver.Step(kMain, [&](HWND window) {
        recorder.WaitFor(1);
        openedFirst = recorder.Invocations().size();
        // Now nothing can open the page: the thanks come all the same.
        recorder.BreakRegistrations();
        gt::Command(window, ID_DONATE);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    Run(driver);

    ASSERT_EQ(g_seen.size(), 2u);
    for (const SeenRequest& seen : g_seen) {
        EXPECT_EQ(seen.request.owner, mainWindow);
        EXPECT_EQ(seen.request.verb, "open");
        EXPECT_EQ(seen.request.file, page);
        EXPECT_EQ(seen.request.show, SW_SHOWNORMAL);
    }
    EXPECT_TRUE(g_seen[0].ok);
    EXPECT_FALSE(g_seen[1].ok);
    ASSERT_EQ(openedFirst, 1u);
    std::vector<gt::ShellInvocation> opened = recorder.Invocations();
    ASSERT_EQ(opened.size(), 1u);
    ASSERT_FALSE(opened[0].args.empty());
    EXPECT_EQ(opened[0].args[0], page);

    const auto& boxes = driver.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "THANK YOU!");
        EXPECT_EQ(box.text,
                  "Thank you for donating!  I really appreciate your contribution!\n\n"
                  "A browser window should appear and connect to PayPal.\n"
                  "Enter the donation amount in the 'Amount' field.\n\n"
                  "Once again, Thanks! - Quillon");
        EXPECT_EQ(box.icon, gt::BoxIcon::Information);
        EXPECT_FALSE(box.hasYesNo);
    }
}

TEST_F(WaysOut, ServiceManagerOpensTheConsoleWithSlashSInTheHomeFolder)
{
    gt::LinkRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    const std::string console = Expand("%SystemRoot%\\system32\\services.msc");
    const std::string home = Expand("%HOMEDRIVE%%HOMEPATH%");
    ASSERT_FALSE(console.empty());
    ASSERT_EQ(home.find('%'), std::string::npos) << home;
    // Wine has no management console: an empty one stands in, opened by the recorder.
    const bool consoleExisted = zt::FileExists(console);
    if (!consoleExisted)
        zt::WriteFileBytes(console, "");
    gt::GuiDriver driver;
    driver.Step(kMain, [&](HWND window) {
        gt::Command(window, ID_TOOLS_SERVICE_MANAGER);
        gt::PumpUntil([] { return !g_seen.empty(); }, 5000);
        recorder.WaitFor(1);
        gt::Command(window, ID_APP_EXIT);
    });
    Run(driver);
    if (!consoleExisted)
        ::DeleteFileA(console.c_str());
    ASSERT_EQ(g_seen.size(), 1u);
    const ShellExecuteRequest& r = g_seen[0].request;
    EXPECT_EQ(r.owner, nullptr);
    EXPECT_EQ(r.verb, "");
    EXPECT_EQ(r.file, console);
    EXPECT_EQ(r.parameters, "/s");
    EXPECT_EQ(r.directory, home);
    EXPECT_EQ(r.show, SW_SHOWNORMAL);

    std::vector<gt::ShellInvocation> opened = recorder.Invocations();
    ASSERT_EQ(opened.size(), 1u);
    ASSERT_EQ(opened[0].args.size(), 2u);
    EXPECT_EQ(lstrcmpiA(opened[0].args[0].c_str(), console.c_str()), 0) << opened[0].args[0];
    EXPECT_EQ(opened[0].args[1], "/s");
    EXPECT_EQ(lstrcmpiA(opened[0].folder.c_str(), home.c_str()), 0) << opened[0].folder;
}

}  // namespace
