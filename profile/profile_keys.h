// Names and controller defaults of the profile (INI) format shared by zephrun and Zephlaunch.
#pragma once

namespace profile {

// Sections.
constexpr const char kConfiguration[] = "Configuration";
constexpr const char kAutoStart[] = "AutoStart";
constexpr const char kPrograms[] = "Programs";
constexpr const char kServices[] = "Services";

// [Configuration] keys.
constexpr const char kDescription[] = "description";
constexpr const char kFsPath[] = "fspath";
constexpr const char kFsCmdLine[] = "fscmdline";
constexpr const char kFsPriority[] = "fspriority";
constexpr const char kDefragMem[] = "defragmem";
constexpr const char kProcIdleTasks[] = "procidletasks";
constexpr const char kNonResponse[] = "nonresponse";
constexpr const char kAutoStartDelay[] = "autostartdelay";
constexpr const char kPauseAtEnd[] = "pauseatend";
constexpr const char kMainAppExe[] = "MainAppExe";
constexpr const char kMainAppWait[] = "mainappwait";
constexpr const char kLogging[] = "logging";
constexpr const char kDoNotLaunchApp[] = "donotlaunchapp";
constexpr const char kShutdownAfterTermination[] = "ShutdownAfterTermination";
constexpr const char kRestartAfterTermination[] = "RestartAfterTermination";
constexpr const char kPowerPlan[] = "powerplan";  // 1: the High performance power plan for the run
constexpr const char kKeepAwake[] = "keepawake";  // 1: no sleep, display on, no screen saver

// The marker stored for a main-application path (or MainAppExe) that was never set.
constexpr const char kNotSet[] = "<not set>";

// Controller defaults for keys that are missing.
constexpr int kDefaultNonResponseSeconds = 15;
constexpr int kDefaultAutoStartDelay = 30;
// Seconds a run looks for the MainAppExe program to appear after the start-up delay.
constexpr int kDefaultMainAppWait = 120;
constexpr const char kDefaultPriority[] = "Normal";

// Action texts, in the order the GUI offers them.
constexpr const char kActionNoAction[] = "No Action";
constexpr const char kActionStop[] = "Stop";
constexpr const char kActionStopRestart[] = "Stop & Restart";

// Read limits: every value into 256 bytes, a whole section into 32767 bytes.
constexpr unsigned kValueBufferSize = 256;
constexpr unsigned kSectionBufferSize = 32767;
constexpr unsigned kMaxKeyLength = 255;

}  // namespace profile
