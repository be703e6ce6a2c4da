// installer_probe.exe: the Windows side of tests/package/installer_test.sh.
//   installer_probe link FILE.lnk
//     Loads the shell link as the shell does and prints its fields, one per line:
//     target=, arguments=, workdir=, icon= (path,index).
//   installer_probe start FILE.lnk
//     Starts the link's target in the link's working folder as the Start menu does,
//     waits for the main window "Zephlaunch - zephlaunch", presses its Start button,
//     answers the question with Yes (close the GUI before the run) and waits for the
//     GUI to end. Prints window=, question=, gui-exit=.
// Exit code 0 when every step could be taken, 1 otherwise (the reason is printed).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int kStartButton = 1005;

struct Link {
    std::string target, arguments, workdir, iconPath;
    int iconIndex = 0;
};

bool LoadLink(const char* file, Link* link)
{
    if (FAILED(::CoInitialize(nullptr)))
        return false;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink)))) {
        std::printf("error=no shell-link object\n");
        return false;
    }
    bool loaded = false;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH];
        if (::MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH)
            && SUCCEEDED(persist->Load(wide, STGM_READ))) {
            char text[1024];
            if (SUCCEEDED(shellLink->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
                link->target = text;
            if (SUCCEEDED(shellLink->GetArguments(text, sizeof text)))
                link->arguments = text;
            if (SUCCEEDED(shellLink->GetWorkingDirectory(text, sizeof text)))
                link->workdir = text;
            int index = 0;
            if (SUCCEEDED(shellLink->GetIconLocation(text, sizeof text, &index))) {
                link->iconPath = text;
                link->iconIndex = index;
            }
            loaded = true;
        } else {
            std::printf("error=the link cannot be loaded\n");
        }
        persist->Release();
    }
    shellLink->Release();
    return loaded;
}

struct Search {
    DWORD process;
    const char* title;  // exact caption, or null for any
    const char* className;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM lp)
{
    Search* search = reinterpret_cast<Search*>(lp);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process || window == search->exclude || !::IsWindowVisible(window))
        return TRUE;
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (search->title && std::strcmp(text, search->title) != 0)
        return TRUE;
    if (search->className && std::strcmp(className, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(DWORD process, const char* title, const char* className, HWND exclude, int seconds)
{
    for (int i = 0; i < seconds * 10; ++i) {
        Search search = {process, title, className, exclude, nullptr};
        ::EnumWindows(&FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::Sleep(100);
    }
    return nullptr;
}

int StartThroughLink(const char* file)
{
    Link link;
    if (!LoadLink(file, &link))
        return 1;
    std::string commandLine = "\"" + link.target + "\"";
    if (!link.arguments.empty())
        commandLine += " " + link.arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          link.workdir.empty() ? nullptr : link.workdir.c_str(), &startup, &process)) {
        std::printf("error=CreateProcess failed, error %lu\n", ::GetLastError());
        return 1;
    }
    ::CloseHandle(process.hThread);
    int status = 1;
    HWND main = WaitForWindow(process.dwProcessId, "Zephlaunch - zephlaunch", nullptr, nullptr, 60);
    if (!main) {
        std::printf("error=no main window\n");
    } else {
        std::printf("window=Zephlaunch - zephlaunch\n");
        ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(kStartButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(main, kStartButton)));
        HWND box = WaitForWindow(process.dwProcessId, "Zephlaunch", "#32770", main, 30);
        if (!box) {
            std::printf("error=no question after Start\n");
        } else {
            char text[512] = {};
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::printf("question=%s\n", text);
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            status = 0;
        }
    }
    if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        std::printf("error=the GUI did not end\n");
        ::TerminateProcess(process.hProcess, 99);
        status = 1;
    } else {
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        std::printf("gui-exit=%lu\n", code);
    }
    ::CloseHandle(process.hProcess);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "link") == 0) {
        Link link;
        if (!LoadLink(argv[2], &link))
            return 1;
        std::printf("target=%s\narguments=%s\nworkdir=%s\nicon=%s,%d\n", link.target.c_str(),
                    link.arguments.c_str(), link.workdir.c_str(), link.iconPath.c_str(), link.iconIndex);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "start") == 0)
        return StartThroughLink(argv[2]);
    std::fprintf(stderr, "usage: installer_probe link|start FILE.lnk\n");
    return 2;
}
