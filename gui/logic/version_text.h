// The version text the Programs dialog shows for a program: the header, the values
// of the version block's first language, and the texts of the failures.
#pragma once

#include <cstddef>
#include <string>

namespace gui_logic {

// What asked for the text: the mouse resting on a row, or a right-click.
enum class VersionTrigger { HotTrack, RightClick };

// Text for a failed GetFileVersionInfoSizeA with the given error.
std::string VersionSizeErrorText(unsigned long error, VersionTrigger trigger);
// Text for a failed GetFileVersionInfoA.
std::string VersionReadErrorText(unsigned long error);
constexpr const char kVersionAllocationError[] = "Unable to retrieve version information.";

// The string values read from the version block, in the order of kVersionFields.
enum VersionField {
    kFileVersion,
    kProductVersion,
    kProductName,
    kFileDescription,
    kCompanyName,
    kLegalCopyright,
    kComments,
    kVersionFieldCount
};
struct VersionFieldInfo {
    const char* name;      // value name in the StringFileInfo block
    std::size_t capacity;  // characters of its buffer, terminator included
};
extern const VersionFieldInfo kVersionFields[kVersionFieldCount];

// "\StringFileInfo\<language><code page>\<name>" with both as four hex digits.
std::string VersionSubBlock(VersionField field, unsigned language, unsigned codePage);

// The text shown for one value. queried: VerQueryValueA succeeded; value/length as it
// reported them (length in characters). Hot tracking shows a value only when its
// length is non-zero, and "N/A" for Comments that are missing; a right-click shows
// whatever the query delivered. Values are cut to their buffer.
std::string VersionValueText(VersionTrigger trigger, VersionField field, bool queried, const char* value,
                             unsigned length);

// "Program: %s\r\nFile Path: %s\r\n\r\n".
std::string VersionHeader(const std::string& module, const std::string& path);
// The header followed by the seven values.
std::string VersionText(const std::string& module, const std::string& path,
                        const std::string (&values)[kVersionFieldCount]);

}  // namespace gui_logic
