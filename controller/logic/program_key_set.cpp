#include "controller/logic/program_key_set.h"

#include "controller/logic/program_names.h"

bool ProgramKeySet::Insert(const char* key)
{
    const char* text = key != nullptr ? key : "";
    for (const std::string& known : m_keys) {
        if (SameTextIgnoringCase(known.c_str(), text))
            return false;
    }
    m_keys.emplace_back(text);
    return true;
}
