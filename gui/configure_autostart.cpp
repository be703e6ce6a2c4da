// The Configure dialog's auto-start list: loading it with the programs' icons, Add,
// Edit and Delete, and the Open dialog that picks a program.
#include "configure_dlg.h"

#include "edit_cmdline_dlg.h"
#include "framework/dpi.h"
#include "framework/file_dialog.h"
#include "framework/win_app.h"
#include "globals.h"
#include "gui/logic/configure_values.h"
#include "gui/logic/list_entries.h"
#include "message_box.h"
#include "resource.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// ExtractIcon answers 1 for a file that is not a program, an icon or a library.
bool IsIcon(HICON icon) { return reinterpret_cast<UINT_PTR>(icon) > 1; }

// The program's first icon, or its associated icon; null when it yields none.
HICON ExtractProgramIcon(const std::string& program)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HICON icon = ::ExtractIconA(instance, program.c_str(), 0);
    if (!IsIcon(icon)) {
        char path[MAX_PATH] = {};
        lstrcpynA(path, program.c_str(), MAX_PATH);
        WORD index = 0;
        icon = ::ExtractAssociatedIconA(instance, path, &index);
    }
    return IsIcon(icon) ? icon : nullptr;
}

// Appends the icons to the image list, in order, as one strip of images: adding icons
// one by one costs many drawing calls per icon, the strip a few in all. The strip is
// painted on the list's white background without alpha, so the mask decides what is
// transparent. False when the strip could not be made; nothing was appended then.
bool AppendIconStrip(HIMAGELIST list, const std::vector<HICON>& icons)
{
    const int count = static_cast<int>(icons.size());
    int cx = 0;
    int cy = 0;
    if (count == 0 || !ImageList_GetIconSize(list, &cx, &cy) || cx <= 0 || cy <= 0)
        return count == 0;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = cx * count;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP mask = ::CreateBitmap(cx * count, cy, 1, 1, nullptr);
    HDC colourDc = ::CreateCompatibleDC(nullptr);
    HDC maskDc = ::CreateCompatibleDC(nullptr);
    bool made = colour && bits && mask && colourDc && maskDc;
    if (made) {
        DWORD* pixels = static_cast<DWORD*>(bits);
        const size_t total = static_cast<size_t>(cx) * static_cast<size_t>(count) * static_cast<size_t>(cy);
        for (size_t i = 0; i < total; ++i)
            pixels[i] = 0x00FFFFFF;
        HGDIOBJ oldColour = ::SelectObject(colourDc, colour);
        HGDIOBJ oldMask = ::SelectObject(maskDc, mask);
        made = oldColour && oldMask;
        for (int i = 0; made && i < count; ++i) {
            made = ::DrawIconEx(colourDc, i * cx, 0, icons[i], cx, cy, 0, nullptr, DI_NORMAL)
                   && ::DrawIconEx(maskDc, i * cx, 0, icons[i], cx, cy, 0, nullptr, DI_MASK);
        }
        if (oldColour)
            ::SelectObject(colourDc, oldColour);
        if (oldMask)
            ::SelectObject(maskDc, oldMask);
        made = made && ::GdiFlush() && ImageList_Add(list, colour, mask) != -1;
    }
    if (maskDc)
        ::DeleteDC(maskDc);
    if (colourDc)
        ::DeleteDC(colourDc);
    if (mask)
        ::DeleteObject(mask);
    if (colour)
        ::DeleteObject(colour);
    return made;
}

}  // namespace

void CConfigureDlg::SetUpAutoStartList(const std::vector<gui_logic::AutoStartRow>& rows)
{
    const int iconSize = ScaledPixels(16);
    if (m_programIcons.Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_programIcons.SetBkColor(RGB(255, 255, 255));
        HICON cross = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_DELETE),
                                                      IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR));
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
    // Row r shows image 1 + the number of icons found before it (image 0 is the cross).
    int count = m_autoStartList.GetItemCount();
    std::vector<HICON> icons;
    std::vector<int> rowsWithIcons;
    for (int row = 0; row < count; ++row) {
        HICON icon = ExtractProgramIcon(m_autoStartList.GetItemText(row, 0));
        if (!icon)
            continue;
        icons.push_back(icon);
        rowsWithIcons.push_back(row);
    }
    HIMAGELIST list = m_programIcons.GetSafeHandle();
    int first = list ? ImageList_GetImageCount(list) : 0;
    bool appended = list && AppendIconStrip(list, icons);
    for (size_t i = 0; i < icons.size(); ++i) {
        int image = 0;
        if (appended)
            image = first + static_cast<int>(i);
        else if (list)
            image = ImageList_AddIcon(list, icons[i]);
        if (image > 0)
            m_autoStartList.SetItemImage(rowsWithIcons[i], image);
        ::DestroyIcon(icons[i]);
    }
    m_autoStartList.SendMessage(WM_SETREDRAW, TRUE);
    m_autoStartList.Invalidate(true);
}

// Appends the program's icon to the image list (Add); returns its image, or 0 (the red
// cross) when the program yields none.
int CConfigureDlg::AddProgramIcon(const std::string& program)
{
    if (!m_programIcons.GetSafeHandle())
        return 0;
    HICON icon = ExtractProgramIcon(program);
    if (!icon)
        return 0;
    int image = m_programIcons.Add(icon);
    ::DestroyIcon(icon);
    return image > 0 ? image : 0;
}

bool CConfigureDlg::ChooseExecutable(bool newStructSize, std::string* path)
{
    CFileDialog dialog(true, "exe", nullptr,
                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING,
                       "Executables|*.exe|All Files|*.*||", m_hWnd,
                       newStructSize ? kOpenFileNameSizeFull : kOpenFileNameSizeOld);
    if (dialog.DoModal() != IDOK)
        return false;
    *path = dialog.GetPathName();
    return true;
}

bool CConfigureDlg::PathFitsProfile(const std::string& path, bool asKey) const
{
    std::string text;
    if (path.size() > static_cast<size_t>(gui_logic::kMaxFieldChars))
        text = "This path is longer than 255 characters, more than a profile can hold:\r\n\n" + path
               + "\r\n\nPlease choose a program with a shorter path.";
    else if (asKey && !gui_logic::IsReadableKey(path))
        text =
            "The path of an auto-start program cannot hold \"=\": the profile could not read it back.\r\n\n"
            + path;
    if (text.empty())
        return true;
    ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CConfigureDlg::OnAdd()
{
    std::string path;
    if (!ChooseExecutable(m_xp, &path) || !PathFitsProfile(path, true))
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
