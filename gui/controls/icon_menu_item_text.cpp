// CIconMenu::GetItemText, in a file of its own: it returns a std::wstring, and a program
// that links it gets the C++ library's whole wide-string code with it. Only the tests use it.
#include "controls/icon_menu.h"

std::wstring CIconMenu::GetItemText(HMENU menu, int position) const
{
    const Item* item = RecordAt(menu, position);
    return item ? std::wstring(item->text.data(), item->text.size()) : std::wstring();
}
