// The code page in which menu texts read with the ANSI menu functions are turned into
// UTF-16: the thread's ANSI code page on Windows NT 5 and later; before that the
// default ANSI code page of the thread locale, or the system's when that cannot be read.
#pragma once

#include <windows.h>

#include <string>

// UTF-16 text for the wide Windows functions. Its own traits type makes it a string type
// of the program's own, instantiated with just the members in use; std::wstring would
// link the C++ library's complete copy of it (some 35 KB).
struct WideTraits : std::char_traits<wchar_t> {};
using WideText = std::basic_string<wchar_t, WideTraits>;

UINT MenuTextCodePage();
// False (with *wide cleared) when the conversion fails.
bool AnsiToWide(const std::string& text, UINT codePage, WideText* wide);
bool WideToAnsi(const WideText& text, UINT codePage, std::string* ansi);
