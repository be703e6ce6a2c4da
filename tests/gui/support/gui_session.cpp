#include "support/gui_session.h"
#include "support/settings_folder.h"

#include "support/gui_driver.h"
#include "support/screenshot.h"
#include "zephlaunch_app.h"
#include "dialogs/zephlaunch_dlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

namespace gt {

void PrepareApplication()
{
    static CZephlaunchApp* app = nullptr;
    if (app)
        return;
    app = new CZephlaunchApp();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

void RunApplicationOnce()
{
    PrepareApplication();
    AfxGetApp()->InitInstance();
}

INT_PTR RunMainWindow()
{
    PrepareApplication();
    // As the application object runs it: the main window owns the dialogs it opens.
    CZephlaunchDlg dialog;
    AfxGetApp()->m_pMainWnd = &dialog;
    INT_PTR result = dialog.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
    return result;
}

void RunMainWindowScript(GuiDriver& driver, int watchdogSeconds)
{
    driver.Start(watchdogSeconds);
    RunMainWindow();
    driver.StopAndExpectClean();
}

DialogOwnership OpenDialogFromMainWindow(int buttonId, const std::string& dialogTitle,
                                         void (*close)(HWND dialog))
{
    PrepareApplication();
    GuiDriver driver;
    DialogOwnership seen;
    driver.Step("Zephlaunch - zephlaunch", [&](HWND window) {
        seen.mainWindow = window;
        Click(window, buttonId);
    });
    driver.Step(dialogTitle, [&](HWND dialog) {
        seen.owner = ::GetWindow(dialog, GW_OWNER);
        close(dialog);
    });
    driver.Step("Zephlaunch - zephlaunch", [&](HWND window) { Command(window, IDCANCEL); });
    driver.Start(40);
    RunMainWindow();
    driver.Stop();
    EXPECT_TRUE(driver.AllStepsRun()) << driver.StepsRun();
    EXPECT_EQ(driver.UnexpectedMessageBoxes(), 0);
    return seen;
}

std::vector<std::string> ListItems(HWND list)
{
    std::vector<std::string> items;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[300] = {};
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        items.push_back(text);
    }
    return items;
}

int ListImage(HWND list, int index)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

int SelectedItem(HWND list)
{
    return static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

POINT ItemCentre(HWND list, int index)
{
    RECT rect = {};
    rect.left = LVIR_LABEL;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &point);
    return point;
}

void ClickAt(HWND window, POINT screenPoint, bool right)
{
    ::SetCursorPos(screenPoint.x, screenPoint.y);
    POINT client = screenPoint;
    ::ScreenToClient(window, &client);
    LPARAM position = MAKELPARAM(client.x, client.y);
    ::PostMessageA(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                   position);
    ::PostMessageA(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, position);
}

namespace {

struct TipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindTip(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<TipSearch*>(parameter);
    char name[32] = {};
    ::GetClassNameA(window, name, sizeof name);
    // The dialog's own balloon tips, not a control's private tool tips.
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && ::GetWindow(window, GW_OWNER) == search->owner
        && (::GetWindowLongPtrA(window, GWL_STYLE) & TTS_BALLOON)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND ToolTipOf(HWND dialog)
{
    TipSearch search = {dialog, nullptr};
    ::EnumThreadWindows(::GetWindowThreadProcessId(dialog, nullptr), &FindTip,
                        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

bool TipShowsWithin(HWND dialog, int controlId, const char* screenshotName, int milliseconds)
{
    HWND tip = ToolTipOf(dialog);
    HWND control = ::GetDlgItem(dialog, controlId);
    if (!tip || !control)
        return false;
    ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    RECT rect;
    ::GetWindowRect(control, &rect);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::SetCursorPos(centre.x, centre.y);
    POINT client = centre;
    ::ScreenToClient(control, &client);
    // One move over the control starts the tip's delay; further moves would restart it.
    ::PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    bool shown = PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }, milliseconds);
    if (shown && screenshotName)
        SaveWindowScreenshot(tip, screenshotName);
    ::SendMessageA(tip, TTM_POP, 0, 0);
    ::SetCursorPos(0, 0);
    return shown;
}

}  // namespace

bool ToolTipAppearsOver(HWND dialog, int controlId, const char* screenshotName)
{
    return TipShowsWithin(dialog, controlId, screenshotName, 2000);
}

bool ToolTipStaysHidden(HWND dialog, int controlId)
{
    return !TipShowsWithin(dialog, controlId, nullptr, 300);
}

std::string ToolTipText(HWND dialog, int controlId)
{
    HWND tip = ToolTipOf(dialog);
    HWND control = ::GetDlgItem(dialog, controlId);
    if (!tip || !control)
        return "<no tool>";
    // The wide form: the narrow one cuts the text at 80 characters.
    WCHAR text[512] = {};
    TTTOOLINFOW info = {};
    info.cbSize = sizeof info;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = text;
    if (!::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)))
        return "<no tool>";
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(&info));
    char narrow[1024] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

std::string RectText(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", static_cast<int>(rect.left), static_cast<int>(rect.top),
                  static_cast<int>(rect.right), static_cast<int>(rect.bottom));
    return text;
}

std::string SavedRect(const char* section)
{
    const std::string file = WindowPosFile();
    return ReadIni(file, section, "left") + "," + ReadIni(file, section, "top") + ","
           + ReadIni(file, section, "right") + "," + ReadIni(file, section, "bottom");
}

std::string ReadIni(const std::string& file, const char* section, const char* key)
{
    char value[512] = {};
    ::GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

}  // namespace gt
