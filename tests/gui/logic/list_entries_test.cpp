#include "gui/logic/cell_geometry.h"
#include "gui/logic/list_entries.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProgramValue, SplitsAtTheFirstBar)
{
    auto value = gui_logic::SplitProgramValue("Stop & Restart|C:\\Program Files\\a|b.exe");
    EXPECT_EQ(value.action, "Stop & Restart");
    EXPECT_EQ(value.path, "C:\\Program Files\\a|b.exe");
    value = gui_logic::SplitProgramValue("stop|");
    EXPECT_EQ(value.action, "stop");
    EXPECT_EQ(value.path, "");
    // No bar, or an action part longer than 29 characters: all action, nothing lost.
    value = gui_logic::SplitProgramValue("Stop");
    EXPECT_EQ(value.action, "Stop");
    EXPECT_EQ(value.path, "");
    const std::string longAction(30, 'a');
    value = gui_logic::SplitProgramValue(longAction + "|C:\\x.exe");
    EXPECT_EQ(value.action, longAction + "|C:\\x.exe");
    EXPECT_EQ(value.path, "");
    value = gui_logic::SplitProgramValue(std::string(29, 'a') + "|p");
    EXPECT_EQ(value.action, std::string(29, 'a'));
    EXPECT_EQ(value.path, "p");
    EXPECT_EQ(gui_logic::JoinProgramValue("Stop", "C:\\x.exe"), "Stop|C:\\x.exe");
}

TEST(ProgramValue, RunningProgramActionByPrefix)
{
    EXPECT_STREQ(gui_logic::RunningProgramAction("No Action|C:\\a.exe"), "No Action");
    EXPECT_STREQ(gui_logic::RunningProgramAction("Stop & Restart|C:\\a.exe"), "Stop & Restart");
    EXPECT_STREQ(gui_logic::RunningProgramAction("Stop & Restartx"), "Stop & Restart");
    EXPECT_STREQ(gui_logic::RunningProgramAction("Stop|C:\\a.exe"), "Stop");
    EXPECT_STREQ(gui_logic::RunningProgramAction("stop & restart|x"), "Stop");
    EXPECT_STREQ(gui_logic::RunningProgramAction("no action"), "Stop");
    EXPECT_STREQ(gui_logic::RunningProgramAction(""), "Stop");
}

TEST(ProcessRows, HiddenProcessesAndNineXNames)
{
    std::string row;
    for (const char* hidden :
         {"Zephlaunch.exe", "ZEPHLAUNCH.EXE", "svchost.exe", "SvcHost.Exe", "[System Process]", "System"})
        EXPECT_FALSE(gui_logic::ProcessRowText(hidden, true, &row)) << hidden;
    ASSERT_TRUE(gui_logic::ProcessRowText("Notepad.EXE", true, &row));
    EXPECT_EQ(row, "Notepad.EXE");
    ASSERT_TRUE(gui_logic::ProcessRowText("systemx.exe", true, &row));
    // On NT the name is used whole, even a path (NT 4.0 reports paths).
    ASSERT_TRUE(gui_logic::ProcessRowText("C:\\WINNT\\notepad.exe", true, &row));
    EXPECT_EQ(row, "C:\\WINNT\\notepad.exe");
    // Windows 9x/ME: the file name of the path; its own exclusions compare exactly.
    ASSERT_TRUE(gui_logic::ProcessRowText("C:\\WINDOWS\\NOTEPAD.EXE", false, &row));
    EXPECT_EQ(row, "NOTEPAD.EXE");
    EXPECT_FALSE(gui_logic::ProcessRowText("C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL", false, &row));
    EXPECT_FALSE(gui_logic::ProcessRowText("C:\\ZL\\ZEPHLAUNCH.EXE", false, &row));
    ASSERT_TRUE(gui_logic::ProcessRowText("C:\\WINDOWS\\SYSTEM\\kernel32.dll", false, &row));
    EXPECT_EQ(row, "kernel32.dll");
}

TEST(Sections, ParsedInFileOrderWithoutBadEntries)
{
    const char head[] = "Spooler=Stop\0noequals\0=novalue\0";
    const char tail[] = "BITS=Stop & Restart\0Empty=\0";
    std::string buffer = std::string(head, sizeof head - 1) + std::string(256, 'k') + "=x" + '\0'
                         + std::string(tail, sizeof tail - 1);
    buffer.push_back('\0');
    auto entries = gui_logic::ParseSection(buffer.data(), buffer.size());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], std::make_pair(std::string("Spooler"), std::string("Stop")));
    EXPECT_EQ(entries[1], std::make_pair(std::string("BITS"), std::string("Stop & Restart")));
    EXPECT_EQ(entries[2], std::make_pair(std::string("Empty"), std::string()));
    // A buffer cut without its terminators is read up to its end only.
    const std::string cut = "A=1";
    entries = gui_logic::ParseSection(cut.data(), cut.size());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].second, "1");
}

TEST(Sections, EntriesOfServicesNotListedAreKept)
{
    gui_logic::SectionEntries entries = {
        {"Spooler", "Stop"}, {"OtherPcService", "stop & restart"}, {"bits", "Stop"}};
    auto left = gui_logic::EntriesNotIn(entries, {"spooler", "BITS", "wuauserv"});
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].first, "OtherPcService");
    EXPECT_EQ(left[0].second, "stop & restart");
    EXPECT_TRUE(gui_logic::EqualsNoCase("SvcHost.exe", "SVCHOST.EXE"));
    EXPECT_FALSE(gui_logic::EqualsNoCase("a.exe", "a.ex"));
}

// The Services dialog reads [Services] once and looks each service up in it; what it
// finds must be what GetPrivateProfileString would have given for that key.
TEST(Sections, LookupGivesWhatAProfileReadGives)
{
    gui_logic::SectionEntries entries = {
        {"Spooler", "Stop"}, {"BITS", "\"Stop & Restart\""},  {"spooler", "No Action"},
        {"Odd", "'x\""},     {"Long", std::string(300, 'v')}, {"Q", "\""}};
    gui_logic::SectionLookup lookup(entries, 256);
    EXPECT_EQ(lookup.Value("SPOOLER", "No Action"), "Stop");  // the first entry of a key
    EXPECT_EQ(lookup.Value("bits", "No Action"), "Stop & Restart");
    EXPECT_EQ(lookup.Value("Odd", "-"), "'x\"");
    EXPECT_EQ(lookup.Value("Long", "-").size(), 255u);
    EXPECT_EQ(lookup.Value("Q", "-"), "\"");
    EXPECT_EQ(lookup.Value("Missing", "No Action"), "No Action");
    EXPECT_EQ(gui_logic::ProfileStringValue("''", 256), "");
}

TEST(CellGeometry, ColumnOfAPointIncludesBothBorders)
{
    const std::vector<int> widths = {100, 100, 100, 30};
    EXPECT_EQ(gui_logic::ColumnAtX(0, 0, widths), 0);
    EXPECT_EQ(gui_logic::ColumnAtX(100, 0, widths), 0);  // the border belongs to the left column
    EXPECT_EQ(gui_logic::ColumnAtX(101, 0, widths), 1);
    EXPECT_EQ(gui_logic::ColumnAtX(250, 0, widths), 2);
    EXPECT_EQ(gui_logic::ColumnAtX(330, 0, widths), 3);
    EXPECT_EQ(gui_logic::ColumnAtX(331, 0, widths), -1);
    EXPECT_EQ(gui_logic::ColumnAtX(-1, 0, widths), -1);
    // A list scrolled to the right: the row starts left of the client area.
    EXPECT_EQ(gui_logic::ColumnAtX(10, -150, widths), 1);
    // A zero-width column is never found, the next one is.
    EXPECT_EQ(gui_logic::ColumnAtX(101, 0, {100, 0, 50}), 2);
}

TEST(CellGeometry, InPlaceListOverTheCell)
{
    const std::vector<int> widths = {100, 100, 100, 30};
    auto placed = gui_logic::PlaceInPlaceList(0, 40, 57, widths, 2, 400);
    ASSERT_TRUE(placed.editable);
    EXPECT_FALSE(placed.scroll);
    EXPECT_EQ(placed.left, 204);
    EXPECT_EQ(placed.right, 301);
    EXPECT_EQ(placed.top, 40);
    EXPECT_EQ(placed.bottom, 57 + 50 * 17);
    // Cut at the client area's right edge.
    placed = gui_logic::PlaceInPlaceList(0, 0, 10, widths, 2, 250);
    EXPECT_EQ(placed.right, 250);
    // A cell right of the client area is scrolled into view first.
    placed = gui_logic::PlaceInPlaceList(0, 0, 10, widths, 2, 150);
    ASSERT_TRUE(placed.scroll);
    EXPECT_EQ(placed.scrollBy, 200);
    EXPECT_EQ(placed.left, 4);
    // And one left of it (the list scrolled right).
    placed = gui_logic::PlaceInPlaceList(-250, 0, 10, widths, 1, 300);
    ASSERT_TRUE(placed.scroll);
    EXPECT_EQ(placed.scrollBy, -150);
    EXPECT_EQ(placed.left, 4);
}

TEST(CellGeometry, NarrowOrMissingColumnsCannotBeEdited)
{
    EXPECT_FALSE(gui_logic::PlaceInPlaceList(0, 0, 10, {100, 100, 9}, 2, 400).editable);
    EXPECT_TRUE(gui_logic::PlaceInPlaceList(0, 0, 10, {100, 100, 10}, 2, 400).editable);
    EXPECT_FALSE(gui_logic::PlaceInPlaceList(0, 0, 10, {100, 100}, 2, 400).editable);
    EXPECT_FALSE(gui_logic::PlaceInPlaceList(0, 0, 10, {100, 100}, -1, 400).editable);
}

}  // namespace
