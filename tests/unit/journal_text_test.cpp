// The run journal's text: what a run writes must read back whole, and anything cut short
// or tampered with must not pass for a journal.
#include <gtest/gtest.h>

#include <string>

#include "journal/journal_text.h"

namespace {

JournalRecord FullRecord()
{
    JournalRecord record;
    record.processId = 4242;
    record.startTime = 133456789012345678ULL;
    record.profilePath = "C:\\Users\\me\\Zephlaunch\\profiles\\game = fast.ini";
    record.AddProgram("notepad.exe", "C:\\Windows\\notepad.exe");
    record.AddProgram("Tool.exe", "C:\\Program Files\\Tool\\Tool.exe");
    record.AddService("Spooler");
    record.AddService("wuauserv");
    record.SetShellValue(1);
    record.AddAutoStarted("C:\\Tools\\monitor.exe", 777);
    return record;
}

TEST(JournalText, FormattedJournalReadsBackWhole)
{
    JournalRecord written = FullRecord();
    written.bootTime = 133456000000000000ULL;
    written.computer = "DESK-7";
    JournalRecord read;
    ASSERT_TRUE(ParseJournal(FormatJournal(written), read));
    EXPECT_EQ(read.processId, 4242u);
    EXPECT_EQ(read.bootTime, written.bootTime);
    EXPECT_EQ(read.computer, "DESK-7");
    EXPECT_EQ(read.startTime, 133456789012345678ULL);
    EXPECT_EQ(read.profilePath, written.profilePath);  // "=" inside a value survives
    EXPECT_EQ(read.programs, written.programs);
    EXPECT_EQ(read.services, written.services);
    EXPECT_TRUE(read.hasShellValue);
    EXPECT_EQ(read.shellValue, 1u);
    EXPECT_EQ(read.autoStarted, written.autoStarted);
    EXPECT_TRUE(read.HasWork());
}

// The bytes a run writes, as the README shows them.
TEST(JournalText, FormatIsTheDocumentedOne)
{
    JournalRecord record;
    record.processId = 1234;
    record.startTime = 133456789012345678ULL;
    record.profilePath = "C:\\Users\\me\\AppData\\Roaming\\Zephlaunch\\profiles\\racing.ini";
    record.AddProgram("updater.exe", "C:\\Program Files\\Updater\\updater.exe");
    record.AddService("Spooler");
    record.SetShellValue(1);
    record.AddAutoStarted("C:\\Tools\\monitor.exe", 5678);
    EXPECT_EQ(FormatJournal(record),
              "; Zephlaunch run journal: what a run of zephrun.exe stopped and has not put back yet.\r\n"
              "; \"zephrun.exe --restore\" restores it; a run that ends normally deletes it.\r\n"
              "[Run]\r\nProcessId=1234\r\nStartTime=133456789012345678\r\n"
              "Profile=C:\\Users\\me\\AppData\\Roaming\\Zephlaunch\\profiles\\racing.ini\r\n"
              "[Programs]\r\nupdater.exe=C:\\Program Files\\Updater\\updater.exe\r\n"
              "[Services]\r\nSpooler=Stop & Restart\r\n[Shell]\r\nAutoRestartShell=1\r\n"
              "[AutoStart]\r\nC:\\Tools\\monitor.exe=5678\r\n[End]\r\nComplete=1\r\n");
}

TEST(JournalText, EmptyRunJournalIsCompleteWithNothingToDo)
{
    JournalRecord record;
    record.processId = 9;
    JournalRecord read;
    ASSERT_TRUE(ParseJournal(FormatJournal(record), read));
    EXPECT_FALSE(read.HasWork());
    EXPECT_FALSE(read.hasShellValue);
}

TEST(JournalText, EveryCutShortTextIsRejected)
{
    // A journal cut at any byte (a write that never finished) is never taken for a whole one.
    const std::string text = FormatJournal(FullRecord());
    const std::string mark = "[End]";
    const size_t endMark = text.find(mark);
    ASSERT_NE(endMark, std::string::npos);
    for (size_t length = 0; length < text.size() - 2; ++length) {
        JournalRecord read;
        EXPECT_FALSE(ParseJournal(text.substr(0, length), read)) << "cut at " << length;
    }
}

TEST(JournalText, DataAfterTheEndMarkOrBadNumbersAreRejected)
{
    const std::string text = FormatJournal(FullRecord());
    JournalRecord read;
    EXPECT_FALSE(ParseJournal(text + "[Programs]\r\nother.exe=C:\\other.exe\r\n", read));
    std::string noId = text;
    noId.replace(noId.find("ProcessId=4242"), 14, "ProcessId=42x2");
    EXPECT_FALSE(ParseJournal(noId, read));
    std::string zeroId = text;
    zeroId.replace(zeroId.find("ProcessId=4242"), 14, "ProcessId=0");
    EXPECT_FALSE(ParseJournal(zeroId, read));
    // A shell value that is not a number is dropped rather than read as 0.
    std::string badShell = text;
    badShell.replace(badShell.find("AutoRestartShell=1"), 18, "AutoRestartShell=");
    ASSERT_TRUE(ParseJournal(badShell, read));
    EXPECT_FALSE(read.hasShellValue);
}

TEST(JournalText, ReadsFilesEditedByHand)
{
    // Blanks around keys and values, LF line ends, section names in any case, comments.
    const std::string text =
        "; edited\n[run]\n ProcessId = 12 \nstarttime=0\n[PROGRAMS]\n a.exe = C:\\a.exe \n"
        "[services]\nSpooler=x\n[end]\ncomplete=1\n";
    JournalRecord read;
    ASSERT_TRUE(ParseJournal(text, read));
    EXPECT_EQ(read.processId, 12u);
    EXPECT_EQ(read.startTime, 0u);
    ASSERT_EQ(read.programs.size(), 1u);
    EXPECT_EQ(read.programs[0].first, "a.exe");
    EXPECT_EQ(read.programs[0].second, "C:\\a.exe");
    EXPECT_EQ(read.services, std::vector<std::string>{"Spooler"});
}

TEST(JournalText, AddersKeepOneEntryPerKeyAndSayWhetherItChanged)
{
    JournalRecord record;
    EXPECT_TRUE(record.AddProgram("notepad.exe", "C:\\a.exe"));
    EXPECT_FALSE(record.AddProgram("NOTEPAD.EXE", "C:\\b.exe"));
    EXPECT_TRUE(record.AddService("Spooler"));
    EXPECT_FALSE(record.AddService("spooler"));
    EXPECT_TRUE(record.RemoveService("SPOOLER"));
    EXPECT_FALSE(record.RemoveService("Spooler"));
    EXPECT_TRUE(record.SetShellValue(1));
    EXPECT_FALSE(record.SetShellValue(1));
    EXPECT_TRUE(record.SetShellValue(0));
    EXPECT_EQ(record.programs.size(), 1u);
    EXPECT_TRUE(record.services.empty());
}

// More entries than any run writes: refused as a whole, and said so.
TEST(JournalText, JournalWithTooManyEntriesIsRefused)
{
    JournalRecord record = FullRecord();
    while (record.programs.size() + record.services.size() + record.autoStarted.size() < kMaxJournalEntries)
        record.AddProgram("p" + std::to_string(record.programs.size()) + ".exe", "C:\\p.exe");
    JournalRecord read;
    bool tooLarge = true;
    EXPECT_TRUE(ParseJournal(FormatJournal(record), read, &tooLarge));
    EXPECT_FALSE(tooLarge);
    record.AddService("OneMore");
    EXPECT_FALSE(ParseJournal(FormatJournal(record), read, &tooLarge));
    EXPECT_TRUE(tooLarge);
}

// Whether a journal's run may still be running. Where the process cannot be opened (another
// user's or a protected process, which Wine never has), only a journal of an earlier start
// of Windows is dead; an open process decides by its start time alone.
TEST(JournalText, RunIsAliveOnlyWhileItsProcessOrItsBootLasts)
{
    JournalRecord record = FullRecord();
    const unsigned long long boot = 133456000000000000ULL;
    const unsigned long long minute = 60ULL * 10000000;
    const unsigned long long wrap = 4294967296ULL * 10000;  // the 32-bit tick count's wrap
    record.bootTime = boot;
    JournalProcessProbe denied;
    denied.accessDenied = true;
    EXPECT_TRUE(JournalRunLooksAlive(record, denied, boot + 2 * minute));  // the clock was set meanwhile
    EXPECT_TRUE(JournalRunLooksAlive(record, denied, boot + wrap + minute));
    EXPECT_FALSE(JournalRunLooksAlive(record, denied, boot + 30 * minute));  // rebooted
    record.bootTime = 0;                                                     // a journal of an earlier build
    EXPECT_TRUE(JournalRunLooksAlive(record, denied, boot + 30 * minute));

    EXPECT_FALSE(JournalRunLooksAlive(record, JournalProcessProbe(), boot));  // no such process
    JournalProcessProbe opened;
    opened.opened = opened.running = opened.haveStartTime = true;
    opened.startTime = record.startTime;
    EXPECT_TRUE(JournalRunLooksAlive(record, opened, 0));
    opened.startTime = record.startTime + 1;  // the id was given to another process
    EXPECT_FALSE(JournalRunLooksAlive(record, opened, 0));
}

TEST(JournalText, FileNames)
{
    EXPECT_EQ(JournalFileName(0), "zephrun_journal.ini");
    EXPECT_EQ(JournalFileName(1), "zephrun_journal_2.ini");
    EXPECT_EQ(JournalFileName(kJournalSlots - 1), "zephrun_journal_9.ini");
}

}  // namespace
