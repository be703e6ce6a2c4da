#include "framework/shell_execute.h"

#include <shellapi.h>

namespace {

ShellExecuteHandler g_handler = nullptr;

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

ShellExecuteOutcome ShellExecuteWithShell(const ShellExecuteRequest& request)
{
    ShellExecuteOutcome outcome;
    if (!request.wantProcess && (request.verb.empty() || request.verb == "open")) {
        HINSTANCE code = ::ShellExecuteA(request.owner, OrNull(request.verb), request.file.c_str(),
                                         OrNull(request.parameters), OrNull(request.directory), request.show);
        INT_PTR value = reinterpret_cast<INT_PTR>(code);
        outcome.ok = value > 32;
        if (!outcome.ok)
            outcome.error = static_cast<DWORD>(value);
        return outcome;
    }
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = request.wantProcess ? SEE_MASK_NOCLOSEPROCESS : 0;
    info.hwnd = request.owner;
    info.lpVerb = OrNull(request.verb);
    info.lpFile = request.file.c_str();
    info.lpParameters = OrNull(request.parameters);
    info.lpDirectory = OrNull(request.directory);
    info.nShow = request.show;
    if (!::ShellExecuteExA(&info)) {
        outcome.error = ::GetLastError();
        return outcome;
    }
    outcome.ok = true;
    outcome.process = info.hProcess;
    return outcome;
}

ShellExecuteOutcome RunShellExecute(const ShellExecuteRequest& request)
{
    return g_handler ? g_handler(request) : ShellExecuteWithShell(request);
}

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler)
{
    ShellExecuteHandler previous = g_handler;
    g_handler = handler;
    return previous;
}
