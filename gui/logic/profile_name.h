// Checks a profile name typed by the user before it becomes part of a file path
// ("<profiles folder>\<name>.ini").
#pragma once

#include <cstddef>
#include <string>

namespace gui_logic {

enum class ProfileNameProblem {
    None,
    Empty,
    ForbiddenCharacter,  // \ / : * ? " < > | or a control character
    DotsOnly,            // "." or ".."
    ReservedDevice,      // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 (before any ".")
    TooLong,             // the whole path would not fit
};

// maxNameLength: the longest name whose path still fits (see MaxProfileNameLength).
ProfileNameProblem CheckProfileName(const std::string& name, std::size_t maxNameLength);

// The longest name for which "<folder>\<name>.ini" fits a buffer of pathBufferSize
// characters including the terminator; 0 when not even one character fits.
std::size_t MaxProfileNameLength(std::size_t folderLength, std::size_t pathBufferSize);

// The message shown for a problem (empty for None).
std::string ProfileNameMessage(ProfileNameProblem problem, const std::string& name);

}  // namespace gui_logic
