#include "message_box.h"

#include "framework/dialog.h"

int ShowMessageBox(HWND owner, const char* text, UINT type, const char* caption)
{
    if (!owner)
        owner = CDialog::DefaultOwner();
    if (!owner)
        owner = ::GetActiveWindow();
    return ::MessageBoxA(owner, text, caption, type);
}
