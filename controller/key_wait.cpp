#include "controller/key_wait.h"

#include <conio.h>

void WaitForKey()
{
    // _getch returns at once (with EOF) when there is no console input; extended keys
    // arrive as two codes, and the second is consumed so it cannot satisfy a later wait.
    const int key = _getch();
    if (key == 0 || key == 0xE0)
        _getch();
}
