// CConfigureDlg: edits everything of the current profile but its program and service
// lists: the main application (path, command line, priority, the launcher case), the
// run options, the description and the auto-start programs. Nothing reaches the
// profile before Save.
#pragma once

#include "controls/icon_button.h"
#include "framework/control_layout.h"
#include "framework/dialog.h"
#include "framework/image_list.h"
#include "framework/list_ctrl.h"
#include "gui/logic/configure_values.h"

#include <string>
#include <vector>

struct ConfigureProfile;

class CConfigureDlg : public CDialog {
public:
    explicit CConfigureDlg(HWND parent = nullptr);
    ~CConfigureDlg() override;

    CListCtrl m_autoStartList;
    std::string m_appPath;
    unsigned m_nonResponseSeconds = 15;
    std::string m_commandLine;
    std::string m_priority = "Normal";
    int m_defragMemory = 0;
    int m_idleTasks = 0;
    // The tool-tip control is the one every CDialog has (m_toolTip).
    CImageList m_programIcons;  // owned here: the list only shares it (LVS_SHAREIMAGELISTS)
    unsigned m_autoStartDelay = 30;
    int m_pauseAtEnd = 0;
    std::string m_description;
    int m_notMainApp = 0;
    std::string m_mainAppExe;
    unsigned m_mainAppWait = 120;
    int m_logging = 0;
    int m_doNotLaunch = 0;
    int m_powerPlan = 0;
    int m_keepAwake = 0;
    CIconButton m_powerPlanButton;
    CIconButton m_keepAwakeButton;
    CIconButton m_doNotLaunchButton;
    CIconButton m_browseButton;
    CIconButton m_notMainAppButton;
    CIconButton m_saveButton;
    CIconButton m_idleTasksButton;
    CIconButton m_defragButton;
    CIconButton m_loggingButton;
    CIconButton m_pauseButton;
    CIconButton m_addButton;
    CIconButton m_deleteButton;
    CIconButton m_editButton;
    CIconButton m_shutdownButton;
    CIconButton m_restartButton;
    bool m_xp = false;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT code, UINT id, HWND control) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnSize(UINT type, int cx, int cy) override;
    bool OnClose() override;
    void OnOK() override;      // Enter outside a button
    void OnCancel() override;  // Escape
    void OnDestroy() override;

private:
    void RecordLayout();
    void SetUpButtons();
    void LoadProfile(const ConfigureProfile& p);
    void EnableLaunchControls(bool enable);
    // The wait for the real program counts only for a launcher that is launched.
    void EnableMainAppWait();
    void CheckVersion();
    void SetUpAutoStartList(const std::vector<gui_logic::AutoStartRow>& rows);
    bool ChooseExecutable(bool newStructSize, std::string* path);
    bool Ticked(int id) const;
    // False, after saying why, for a path a profile could not read back whole (too
    // long; as a key of [AutoStart] also one holding "=").
    bool PathFitsProfile(const std::string& path, bool asKey) const;
    // What the controls show, to tell whether anything differs from what was loaded.
    std::vector<std::string> ShownState() const;
    // Leaving without Save: when anything was changed, asks first (Yes saves, No
    // discards, Cancel stays); the rectangle is kept only for the close box.
    void CloseAsking(INT_PTR result, bool keepRect);

    void OnBrowse();
    void OnNotMainApp();
    void OnDoNotLaunch();
    void OnShutdownOrRestart(int clicked, int other);
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnSave();

    CControlLayout m_layout;  // the resizable controls
    std::vector<std::string> m_loadedState;
};
