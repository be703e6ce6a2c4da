#include "globals.h"

char g_settingsFolder[MAX_PATH] = {};
char g_profilesFolder[MAX_PATH] = {};
char g_windowPosFile[MAX_PATH] = {};
char g_serviceHelpFile[MAX_PATH] = {};
std::string g_currentProfile;
