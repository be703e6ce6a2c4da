// Registers fixture_link_recorder.exe as the program the shell opens http, https and
// mailto links and .msc files with (HKCU\Software\Classes, which Wine honours), and
// reads back what the shell handed it. The registrations go again on destruction.
#pragma once

#include <string>
#include <vector>

namespace gt {

struct ShellInvocation {
    std::string folder;              // the recorder's current directory
    std::vector<std::string> args;   // "%1", then the parameters
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
    bool Register(const std::string& program);
    std::string m_recordFile;
    bool m_registered = false;
};

}  // namespace gt
