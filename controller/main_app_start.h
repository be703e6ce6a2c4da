// Starting the main application and giving it its priority, with what Windows may refuse
// on the way: a program that asks for administrator rights, a priority it does not grant.
#pragma once

#include <windows.h>

// Starts the main application as LaunchProgram does. A program whose manifest asks for
// administrator rights cannot be started that way from an unelevated run (Windows Vista
// and later refuse with ERROR_ELEVATION_REQUIRED): it is then started through the shell's
// "runas" verb, which shows the elevation prompt, and process receives the handle of the
// process the shell started (hThread stays null). False with the reason in GetLastError().
bool StartMainApplication(const char* path, const char* arguments, PROCESS_INFORMATION& process);

// Sets the priority class of process (opened with PROCESS_SET_INFORMATION and
// PROCESS_QUERY_INFORMATION) and reads it back: without the right to raise scheduling
// priority Windows sets High where Realtime was asked for, and reports success. Both a
// failure and a class other than the one asked for are warnings.
void ApplyMainAppPriority(HANDLE process, DWORD priorityClass);

// Seams for tests: Wine never asks for elevation and grants every priority class.
// LaunchProgram's shape; null: LaunchProgram. Each returns the previous replacement.
using MainAppLaunch = bool (*)(const char* path, const char* arguments, PROCESS_INFORMATION& process);
MainAppLaunch SetMainAppLaunch(MainAppLaunch launch);
// SetPriorityClass's shape; null: the system's own.
using PriorityClassSet = BOOL(WINAPI*)(HANDLE process, DWORD priorityClass);
PriorityClassSet SetPriorityClassSet(PriorityClassSet set);
