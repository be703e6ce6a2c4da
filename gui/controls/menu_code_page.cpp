#include "controls/menu_code_page.h"

#include <cstdlib>
#include <vector>

UINT MenuTextCodePage()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT
        && version.dwMajorVersion >= 5)
        return CP_THREAD_ACP;
    char buffer[8] = {};
    if (::GetLocaleInfoA(::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, buffer,
                         static_cast<int>(sizeof buffer))
        > 0) {
        UINT codePage = static_cast<UINT>(std::strtoul(buffer, nullptr, 10));
        if (codePage != 0)
            return codePage;
    }
    return ::GetACP();
}

bool AnsiToWide(const std::string& text, UINT codePage, WideText* wide)
{
    wide->clear();
    if (text.empty())
        return true;
    int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return false;
    std::vector<wchar_t> buffer(static_cast<size_t>(length));
    if (::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), buffer.data(), length)
        != length)
        return false;
    wide->assign(buffer.data(), buffer.size());
    return true;
}

bool WideToAnsi(const WideText& text, UINT codePage, std::string* ansi)
{
    ansi->clear();
    if (text.empty())
        return true;
    int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    if (length <= 0)
        return false;
    std::vector<char> buffer(static_cast<size_t>(length));
    if (::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), buffer.data(), length,
                              nullptr, nullptr)
        != length)
        return false;
    ansi->assign(buffer.data(), buffer.size());
    return true;
}
