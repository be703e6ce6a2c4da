// The code page in which menu texts read with the ANSI menu functions are turned into
// UTF-16: the thread's ANSI code page on Windows NT 5 and later; before that the
// default ANSI code page of the thread locale, or the system's when that cannot be read.
#pragma once

#include <windows.h>

#include <string>

UINT MenuTextCodePage();
// False (with *wide cleared) when the conversion fails.
bool AnsiToWide(const std::string& text, UINT codePage, std::wstring* wide);
bool WideToAnsi(const std::wstring& text, UINT codePage, std::string* ansi);
