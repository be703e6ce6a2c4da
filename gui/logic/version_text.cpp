#include "gui/logic/version_text.h"

#include <cstdio>

namespace gui_logic {

namespace {

const unsigned long kResourceDataNotFound = 1812;
const unsigned long kResourceTypeNotFound = 1813;

std::string Cut(const char* value, std::size_t length, std::size_t capacity)
{
    if (!value)
        return std::string();
    std::size_t limit = length < capacity - 1 ? length : capacity - 1;
    std::size_t used = 0;
    while (used < limit && value[used] != '\0')
        ++used;
    return std::string(value, used);
}

}  // namespace

const VersionFieldInfo kVersionFields[kVersionFieldCount] = {
    {"FileVersion", 100}, {"ProductVersion", 100}, {"ProductName", 256}, {"FileDescription", 256},
    {"CompanyName", 256}, {"LegalCopyright", 256}, {"Comments", 256},
};

std::string VersionSizeErrorText(unsigned long error, VersionTrigger trigger)
{
    if (error == kResourceTypeNotFound)
        return "No additional information is available for this program.";
    if (error == kResourceDataNotFound && trigger == VersionTrigger::HotTrack)
        return "Unable to retrieve version information.  This is probably because the program no longer "
               "exists on "
               "this computer.";
    char text[96];
    std::snprintf(text, sizeof text, "Unable to retrieve version information size: error %d.",
                  static_cast<int>(error));
    return text;
}

std::string VersionReadErrorText(unsigned long error)
{
    char text[96];
    std::snprintf(text, sizeof text, "Unable to retrieve version information: error %d.",
                  static_cast<int>(error));
    return text;
}

std::string VersionSubBlock(VersionField field, unsigned language, unsigned codePage)
{
    char name[100];
    std::snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\%s", language & 0xffffu, codePage & 0xffffu,
                  kVersionFields[field].name);
    return name;
}

std::string VersionValueText(VersionTrigger trigger, VersionField field, bool queried, const char* value,
                             unsigned length)
{
    const std::size_t capacity = kVersionFields[field].capacity;
    if (trigger == VersionTrigger::RightClick)
        return queried ? Cut(value, capacity, capacity) : std::string();
    if (!queried || length == 0)
        return field == kComments ? "N/A" : "";
    return Cut(value, length, capacity);
}

std::string VersionHeader(const std::string& module, const std::string& path)
{
    return "Program: " + module + "\r\nFile Path: " + path + "\r\n\r\n";
}

std::string VersionText(const std::string& module, const std::string& path,
                        const std::string (&values)[kVersionFieldCount])
{
    return VersionHeader(module, path) + "File Version: " + values[kFileVersion] + "\r\nProduct Version: "
           + values[kProductVersion] + "\r\n\r\nFile Description: " + values[kFileDescription]
           + "\r\n\r\nProduct Name: " + values[kProductName] + "\r\nCompany: " + values[kCompanyName]
           + "\r\nCopyright: " + values[kLegalCopyright] + "\r\n\r\nComments: " + values[kComments];
}

}  // namespace gui_logic
