// The dependency list of a service configuration: NUL-separated names ended by an
// empty name (a double NUL). Group dependencies carry a leading "+" and so never
// equal a service key.
#pragma once

#include <cstddef>

namespace servicedeps {

// How many names of the list equal key, letter case ignored (as Windows compares them). Reads at most
// maxBytes bytes, so a list without its final terminator is safe. A null list has none.
std::size_t CountDependencyMatches(const char* list, std::size_t maxBytes, const char* key);

}  // namespace servicedeps
