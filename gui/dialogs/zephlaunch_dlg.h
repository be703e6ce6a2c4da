// CZephlaunchDlg: the main window. Lists the profiles of the profiles folder with
// their main application's icon, keeps the current profile (g_currentProfile) and
// names it in the title, and carries the menu bar and the commands on profiles.
#pragma once

#include "controls/icon_button.h"
#include "controls/icon_menu.h"
#include "framework/control_layout.h"
#include "framework/dialog.h"
#include "framework/image_list.h"
#include "framework/list_ctrl.h"

#include <string>

class CZephlaunchDlg : public CDialog {
public:
    CZephlaunchDlg();
    ~CZephlaunchDlg() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT code, UINT id, HWND control) override;
    bool OnNotify(UINT id, NMHDR* header, LRESULT* result) override;
    bool OnSize(UINT type, int cx, int cy) override;
    bool OnClose() override;
    bool OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override;
    bool OnDrawItem(UINT id, DRAWITEMSTRUCT* item) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    void SetUpMenuBar();
    void SetUpButtons();
    void FillProfileList();
    void SetTitleFromCurrentProfile();
    void TakeCurrentProfileFromItem(int index);
    void NewProfile();
    void DeleteProfile();
    void ShowProfileContextMenu();
    void RunProgramOptions();
    void Donate();
    void OpenServiceManager();
    void StartRun();
    void CreateShortcut();
    void FillInfoTip(int item, char* buffer, int bufferSize);
    void PaintMinimised();
    std::string ProfilePathOfItem(int index) const;

    HICON m_hIcon;
    // The current directory at start-up. Start and Create Shortcut no longer take the
    // controller from here but from the program's own folder (controller_launch.h).
    char m_startupFolder[MAX_PATH] = {};
    CIconMenu m_menu;
    CListCtrl m_profileList;
    CIconButton m_servicesButton;
    CIconButton m_programsButton;
    CIconButton m_configureButton;
    CIconButton m_startButton;
    CImageList m_imageList;
    CControlLayout m_layout;
};
