// Message pre-translation for the GUI thread: a WH_GETMESSAGE hook offers every
// message removed from the queue to PreTranslateMessage of the bound objects of its
// window and that window's parents (see wnd.h). Installed on first use, for the GUI
// thread (the thread that installs it first; the GUI has only one).
#pragma once

bool InstallMessageFilter();
