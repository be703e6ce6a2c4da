// CFileDialog: the system's Open (or Save As) dialog (comdlg32).
//
//   CFileDialog dialog(true, "exe", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
//                      "Executables|*.exe|All Files|*.*||");
//   if (dialog.DoModal() == IDOK) path = dialog.GetPathName();
//
// The filter is given with "|" between the parts, as pairs of display text and
// pattern, ending in "||". The structure size defaults to the full current
// OPENFILENAMEA (with the places bar fields); pass kOpenFileNameSizeOld for the size
// that Windows 9x and NT 4 dialogs know, which every version accepts. Without an owner
// the dialog is owned like a modal CDialog (the main window's last active pop-up).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#ifndef OPENFILENAME_SIZE_VERSION_400A
#define OPENFILENAME_SIZE_VERSION_400A CDSIZEOF_STRUCT(OPENFILENAMEA, lpTemplateName)
#endif

const DWORD kOpenFileNameSizeFull = sizeof(OPENFILENAMEA);
const DWORD kOpenFileNameSizeOld = OPENFILENAME_SIZE_VERSION_400A;

class CFileDialog {
public:
    CFileDialog(bool openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                HWND owner = nullptr, DWORD structSize = kOpenFileNameSizeFull);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with a file chosen, IDCANCEL when cancelled or failed (see GetError).
    INT_PTR DoModal();

    std::string GetPathName() const { return m_file.data(); }
    std::string GetFileName() const;  // without its folder
    std::string GetFileExt() const;   // without the dot
    // CommDlgExtendedError of the last DoModal (0 when cancelled by the user).
    DWORD GetError() const { return m_error; }

    // Filled by the constructor; may be adjusted before DoModal (lpstrInitialDir,
    // lpstrTitle, hook fields, ...).
    OPENFILENAMEA m_ofn;

private:
    bool m_open;
    std::string m_filter;  // with NULs between the parts
    std::string m_defaultExt;
    std::vector<char> m_file;
    DWORD m_error = 0;
};

// The shell's folder browser (file-system folders only), titled title. False when the
// user cancelled or the folder has no path.
bool BrowseForFolder(HWND owner, const char* title, std::string* folder);
