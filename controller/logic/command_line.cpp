#include "controller/logic/command_line.h"

#include <cstdio>
#include <cstring>

namespace {

bool Fits(int written, std::size_t outSize) {
  return written >= 0 && static_cast<std::size_t>(written) < outSize;
}

}  // namespace

bool FormatLaunchText(char* out, std::size_t outSize, const char* path, const char* arguments) {
  if (out == nullptr || outSize == 0) return false;
  return Fits(std::snprintf(out, outSize, "%s %s", path ? path : "", arguments ? arguments : ""), outSize);
}

bool BuildLaunchCommandLine(char* out, std::size_t outSize, const char* path, const char* arguments) {
  if (out == nullptr || outSize == 0) return false;
  if (path == nullptr) path = "";
  if (arguments == nullptr) arguments = "";
  const bool quote = std::strchr(path, '"') == nullptr;
  const int written = quote ? std::snprintf(out, outSize, "\"%s\" %s", path, arguments)
                            : std::snprintf(out, outSize, "%s %s", path, arguments);
  if (!Fits(written, outSize)) {
    out[0] = '\0';
    return false;
  }
  return true;
}
