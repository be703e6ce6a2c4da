#include "framework/combo_box.h"

#include <vector>

std::string CComboBox::GetLBText(int index) const
{
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR || length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied =
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == CB_ERR)
        return std::string();
    return std::string(buffer.data());
}

bool CComboBox::AddStrings(const char* const* texts, int count) const
{
    bool all = true;
    for (int i = 0; i < count; ++i) {
        int index = AddString(texts[i]);
        if (index == CB_ERR || index == CB_ERRSPACE)
            all = false;
    }
    return all;
}
