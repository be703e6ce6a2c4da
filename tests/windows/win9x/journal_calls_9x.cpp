// zephrun_9x.exe: the controller with its journal's calls answered as Windows 98 SE answers
// them (Wine keeps NT's files and newest shell whatever version it reports): CreateFileA
// refuses FILE_SHARE_DELETE, MoveFileExA is not implemented, shell32 4.72 has no
// SHGetFolderPathA and its SHGetSpecialFolderPathA refuses CSIDL_LOCAL_APPDATA.
#include "journal/journal_file.h"

#include <cstring>

namespace {

using SpecialFolderFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
SpecialFolderFn g_specialFolder = nullptr;

HANDLE WINAPI CreateFile98(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                           DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if ((share & FILE_SHARE_DELETE) == 0)
        return CreateFileA(path, access, share, security, disposition, flags, templateFile);
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI MoveFileEx98(LPCSTR, LPCSTR, DWORD)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

BOOL WINAPI SpecialFolder472(HWND owner, LPSTR path, int csidl, BOOL create)
{
    return (csidl & 0xff) != 0x1c /* CSIDL_LOCAL_APPDATA */ && g_specialFolder(owner, path, csidl, create);
}

FARPROC WINAPI GetProcAddress98(HMODULE module, LPCSTR name)
{
    FARPROC found = GetProcAddress(module, name);
    if (module != GetModuleHandleA("shell32.dll") || found == nullptr)
        return found;
    if (std::strcmp(name, "SHGetFolderPathA") == 0)
        return nullptr;
    if (std::strcmp(name, "SHGetSpecialFolderPathA") != 0)
        return found;
    g_specialFolder = reinterpret_cast<SpecialFolderFn>(reinterpret_cast<void*>(found));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SpecialFolder472));
}

const JournalSystemCalls g_previous =
    SetJournalSystemCalls({&CreateFile98, &MoveFileEx98, &GetProcAddress98});

}  // namespace
