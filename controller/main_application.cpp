// Phases 5 to 7: the main application, the auto-start programs, and the wait between.
#include <windows.h>

#include <cstring>

#include "controller/log_message.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "profile/profile_keys.h"

bool RunMainApplication() {
  char path[profile::kValueBufferSize];
  ReadConfigString(profile::kFsPath, profile::kNotSet, path, sizeof path);
  if (std::strcmp(path, profile::kNotSet) == 0) {
    LogMessage(LOG_ERROR, "\r\nERROR: Main Application program path is not set!  Please run Zephlaunch to configure...");
    return false;
  }
  return false;
}

void HandleAutoStartSection(AutoStartMode) {}
