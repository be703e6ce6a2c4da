// zephrun_9x.exe: the controller with its journal's file and folder calls answered as
// Windows 98 SE answers them (the test has Wine report 98 for it; Wine keeps NT's file
// semantics and its newest shell whatever it reports): CreateFileA refuses
// FILE_SHARE_DELETE with ERROR_INVALID_PARAMETER; MoveFileExA is not implemented
// (ERROR_CALL_NOT_IMPLEMENTED); shell32 4.72 has SHGetSpecialFolderPathA, which refuses
// CSIDL_LOCAL_APPDATA, and no SHGetFolderPathA; shfolder.dll knows the folder.
#include "journal/journal_file.h"

#include <cstring>

namespace {

const int kCsidlLocalAppData = 0x001c;
using SpecialFolderFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
SpecialFolderFn g_realSpecialFolder = nullptr;

HANDLE WINAPI CreateFile98(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                           DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if ((share & FILE_SHARE_DELETE) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileA(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI MoveFileEx98(LPCSTR, LPCSTR, DWORD)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

BOOL WINAPI SpecialFolder472(HWND owner, LPSTR path, int csidl, BOOL create)
{
    if ((csidl & 0xff) == kCsidlLocalAppData || g_realSpecialFolder == nullptr)
        return FALSE;
    return g_realSpecialFolder(owner, path, csidl, create);
}

FARPROC WINAPI GetProcAddress98(HMODULE module, LPCSTR name)
{
    const bool shell32 = module == GetModuleHandleA("shell32.dll");
    if (shell32 && std::strcmp(name, "SHGetFolderPathA") == 0)
        return nullptr;
    FARPROC real = GetProcAddress(module, name);
    if (shell32 && real != nullptr && std::strcmp(name, "SHGetSpecialFolderPathA") == 0) {
        g_realSpecialFolder = reinterpret_cast<SpecialFolderFn>(reinterpret_cast<void*>(real));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SpecialFolder472));
    }
    return real;
}

const bool g_installed = [] {
    SetJournalSystemCalls({&CreateFile98, &MoveFileEx98, &GetProcAddress98});
    return true;
}();

}  // namespace
