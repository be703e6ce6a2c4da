// One key from the console, unbuffered and without echo. Returns at once when the
// controller has no console to read from.
#pragma once

void WaitForKey();
