#include "framework/file_dialog.h"

#include "framework/com_ptr.h"
#include "framework/dialog.h"

#include <shlobj.h>

#include <cstring>

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, HWND owner, DWORD structSize)
    : m_ofn(), m_open(openFileDialog), m_file(MAX_PATH * 4, '\0')
{
    if (filter) {
        m_filter = filter;
        for (char& c : m_filter)
            if (c == '|')
                c = '\0';
    }
    // Two NULs end the list whatever the caller's text ended with.
    m_filter.push_back('\0');
    m_filter.push_back('\0');
    if (defaultExt)
        m_defaultExt = defaultExt;
    if (fileName)
        lstrcpynA(m_file.data(), fileName, static_cast<int>(m_file.size()));

    m_ofn.lStructSize = structSize;
    m_ofn.hwndOwner = owner;
    m_ofn.hInstance = nullptr;
    m_ofn.lpstrFilter = filter ? m_filter.c_str() : nullptr;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_file.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_file.size());
    m_ofn.lpstrDefExt = defaultExt ? m_defaultExt.c_str() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal()
{
    if (!m_ofn.hwndOwner)
        m_ofn.hwndOwner = CDialog::DefaultOwner();
    BOOL chosen = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    m_error = chosen ? 0 : ::CommDlgExtendedError();
    if (!chosen)
        return IDCANCEL;
    return IDOK;
}

std::string CFileDialog::GetFileName() const
{
    std::string path = GetPathName();
    std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CFileDialog::GetFileExt() const
{
    std::string name = GetFileName();
    std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool BrowseForFolder(HWND owner, const char* title, std::string* folder)
{
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    // The browser's tree is made of the shell's COM objects.
    if (!EnsureComInitialised()) {
        // It still shows the file system without them.
    }
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&browse);
    if (!chosen)
        return false;
    char path[MAX_PATH] = {};
    bool ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(chosen);
        allocator->Release();
    }
    if (ok)
        *folder = path;
    return ok;
}
