// The Configure dialog's auto-start list: loading it with the programs' icons, Add,
// Edit and Delete, and the Open dialog that picks a program.
#include "configure_dlg.h"

#include "edit_cmdline_dlg.h"
#include "framework/file_dialog.h"
#include "framework/win_app.h"
#include "globals.h"
#include "gui/logic/configure_values.h"
#include "resource.h"

#include <shellapi.h>

#include <string>

namespace {

// ExtractIcon answers 1 for a file that is not a program, an icon or a library.
bool IsIcon(HICON icon)
{
    return reinterpret_cast<UINT_PTR>(icon) > 1;
}

}  // namespace

void CConfigureDlg::SetUpAutoStartList(const std::vector<gui_logic::AutoStartRow>& rows)
{
    if (m_programIcons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_programIcons.SetBkColor(RGB(255, 255, 255));
        HICON cross = static_cast<HICON>(
            ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_DELETE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        if (cross) {
            m_programIcons.Add(cross);
            ::DestroyIcon(cross);
        }
        m_autoStartList.SetImageList(m_programIcons, LVSIL_SMALL);
    }

    m_autoStartList.SendMessage(WM_SETREDRAW, FALSE);
    for (const gui_logic::AutoStartRow& row : rows) {
        int index = m_autoStartList.InsertItem(m_autoStartList.GetItemCount(), row.program.c_str(), 0);
        if (index < 0)
            continue;
        m_autoStartList.SetItemText(index, 1, row.commandLine.c_str());
        m_autoStartList.SetItemText(index, 2, row.delay.c_str());
    }
    int count = m_autoStartList.GetItemCount();
    for (int row = 0; row < count; ++row) {
        int image = AddProgramIcon(m_autoStartList.GetItemText(row, 0));
        if (image > 0)
            m_autoStartList.SetItemImage(row, image);
    }
    m_autoStartList.SendMessage(WM_SETREDRAW, TRUE);
    m_autoStartList.Invalidate(true);
}

// Appends the program's icon to the image list; returns its image, or 0 (the red
// cross) when the program yields none.
int CConfigureDlg::AddProgramIcon(const std::string& program)
{
    if (!m_programIcons.GetSafeHandle())
        return 0;
    HINSTANCE instance = AfxGetResourceHandle();
    HICON icon = ::ExtractIconA(instance, program.c_str(), 0);
    if (!IsIcon(icon)) {
        char path[MAX_PATH] = {};
        lstrcpynA(path, program.c_str(), MAX_PATH);
        WORD index = 0;
        icon = ::ExtractAssociatedIconA(instance, path, &index);
    }
    if (!IsIcon(icon))
        return 0;
    int image = m_programIcons.Add(icon);
    ::DestroyIcon(icon);
    return image > 0 ? image : 0;
}

bool CConfigureDlg::ChooseExecutable(bool newStructSize, std::string* path)
{
    CFileDialog dialog(true, "exe", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING,
                       "Executables|*.exe|All Files|*.*||", m_hWnd,
                       newStructSize ? kOpenFileNameSizeFull : kOpenFileNameSizeOld);
    if (dialog.DoModal() != IDOK)
        return false;
    *path = dialog.GetPathName();
    return true;
}

void CConfigureDlg::OnAdd()
{
    std::string path;
    if (!ChooseExecutable(m_xp, &path))
        return;
    int row = m_autoStartList.InsertItem(m_autoStartList.GetItemCount() + 1, path.c_str(), 0);
    if (row < 0)
        return;
    m_autoStartList.SetItemText(row, 1, "");
    m_autoStartList.SetItemText(row, 2, "");
    if (AddProgramIcon(path) > 0)
        m_autoStartList.SetItemImage(row, m_programIcons.GetImageCount() - 1);
    m_autoStartList.SetSelectionMark(row);
    OnEdit();
}

void CConfigureDlg::OnEdit()
{
    int row = m_autoStartList.GetSelectionMark();
    if (row < 0 || row >= m_autoStartList.GetItemCount())
        return;
    CEditCmdLineDlg dialog(m_hWnd);
    dialog.m_commandLine = m_autoStartList.GetItemText(row, 1);
    dialog.m_delay = gui_logic::DelayOfText(m_autoStartList.GetItemText(row, 2));
    if (dialog.DoModal() != IDOK)
        return;
    m_autoStartList.SetItemText(row, 1, dialog.m_commandLine.c_str());
    m_autoStartList.SetItemText(row, 2, std::to_string(dialog.m_delay).c_str());
}

void CConfigureDlg::OnDelete()
{
    int row = m_autoStartList.GetSelectionMark();
    if (row < 0 || row >= m_autoStartList.GetItemCount())
        return;
    m_autoStartList.DeleteItem(row);
}
