// Registers fixture_link_recorder.exe as the program the shell opens http, https and
// mailto links and .msc files with, and reads back what the shell handed it. Wine 8
// takes the shell's verbs from HKEY_CLASSES_ROOT alone (registrations under
// HKCU\Software\Classes are not seen), so the recorder goes there, and the values it
// replaced are put back on destruction.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gt {

struct ShellInvocation {
    std::string folder;             // the recorder's current directory
    std::vector<std::string> args;  // "%1", then the parameters
};

class LinkRecorder {
public:
    LinkRecorder();
    ~LinkRecorder();
    LinkRecorder(const LinkRecorder&) = delete;
    LinkRecorder& operator=(const LinkRecorder&) = delete;

    bool Registered() const { return m_registered; }
    // Points every registration at a program that does not exist, so that the shell
    // can open none of them.
    void BreakRegistrations();
    // What the recorder wrote so far, in order.
    std::vector<ShellInvocation> Invocations() const;
    // Pumps messages until at least count invocations were recorded (false on time-out).
    bool WaitFor(size_t count, int milliseconds = 10000) const;
    void Clear() const;

private:
    struct Saved {
        std::string key;
        bool existed = false;
        std::string value;
    };
    bool Register(const std::string& program);
    bool SetCommand(const std::string& key, const std::string& value);
    std::vector<Saved> m_saved;
    std::string m_recordFile;
    bool m_registered = false;
};

}  // namespace gt
