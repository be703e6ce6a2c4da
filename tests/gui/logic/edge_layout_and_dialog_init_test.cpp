// Per-edge anchoring for resizable dialogs and the parsing of a template's
// initialisation data.
#include "gui/logic/anchored_layout.h"
#include "gui/logic/dialog_init.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gui_logic::Box;

std::string Text(const Box& box)
{
    return std::to_string(box.left) + "," + std::to_string(box.top) + "," + std::to_string(box.right) + ","
           + std::to_string(box.bottom);
}

// A control at (20,30)-(120,50) in a 400x300 client area, which then grows by
// (+60,+40) and shrinks by (-50,-20).
std::vector<std::string> Places(unsigned anchors)
{
    gui_logic::AnchoredLayout layout = gui_logic::RecordLayout({20, 30, 120, 50}, 400, 300, anchors);
    return {Text(gui_logic::PlaceChild(layout, 460, 340)), Text(gui_logic::PlaceChild(layout, 350, 280)),
            Text(gui_logic::PlaceChild(layout, 400, 300))};
}

TEST(EdgeLayout, EachRuleOfTheResizableDialogsMovesTheRightEdges)
{
    // Edits and group boxes that stretch to the right only.
    EXPECT_EQ(Places(gui_logic::kStretchRight),
              (std::vector<std::string>{"20,30,180,50", "20,30,70,50", "20,30,120,50"}));
    // Lists that stretch both ways (also the default).
    EXPECT_EQ(Places(gui_logic::kStretchRightBottom),
              (std::vector<std::string>{"20,30,180,90", "20,30,70,30", "20,30,120,50"}));
    EXPECT_EQ(Text(gui_logic::PlaceChild(gui_logic::RecordLayout({20, 30, 120, 50}, 400, 300), 460, 340)),
              "20,30,180,90");
    // Browse: sideways with the right edge, same size.
    EXPECT_EQ(Places(gui_logic::kMoveRight),
              (std::vector<std::string>{"80,30,180,50", "-30,30,70,50", "20,30,120,50"}));
    // Buttons that stay at their left edge and their distance from the bottom.
    EXPECT_EQ(Places(gui_logic::kMoveDown),
              (std::vector<std::string>{"20,70,120,90", "20,10,120,30", "20,30,120,50"}));
    // Save, Add, Edit, Delete: with the bottom-right corner.
    EXPECT_EQ(Places(gui_logic::kMoveRightDown),
              (std::vector<std::string>{"80,70,180,90", "-30,10,70,30", "20,30,120,50"}));
    // Nothing follows: the control stays put.
    EXPECT_EQ(Places(0), (std::vector<std::string>{"20,30,120,50", "20,30,120,50", "20,30,120,50"}));
}

TEST(EdgeLayout, ALeftEdgeThatFollowsAloneShrinksTheControlButNeverBelowNothing)
{
    gui_logic::AnchoredLayout layout =
        gui_logic::RecordLayout({20, 30, 120, 50}, 400, 300, gui_logic::kLeftFollows);
    EXPECT_EQ(Text(gui_logic::PlaceChild(layout, 440, 300)), "60,30,120,50");
    EXPECT_EQ(Text(gui_logic::PlaceChild(layout, 500, 300)), "120,30,120,50");  // width 0, not negative
    gui_logic::AnchoredLayout list =
        gui_logic::RecordLayout({20, 30, 120, 50}, 400, 300, gui_logic::kStretchRightBottom);
    EXPECT_EQ(Text(gui_logic::PlaceChild(list, 10, 10)), "20,30,20,30");
}

std::vector<unsigned char> Entry(int id, unsigned message, const std::string& bytes)
{
    std::string out;
    for (unsigned value : {static_cast<unsigned>(id) & 0xffu, static_cast<unsigned>(id) >> 8, message & 0xffu,
                           message >> 8, static_cast<unsigned>(bytes.size()), 0u, 0u, 0u})
        out.push_back(static_cast<char>(value));
    out += bytes;
    return std::vector<unsigned char>(out.begin(), out.end());
}

TEST(DialogInit, ReadsEntriesInOrderUpToTheEndMarkAndDropsATruncatedOne)
{
    std::vector<unsigned char> data;
    for (const auto& part :
         {Entry(1023, 0x0403, std::string("Realtime\0", 9)), Entry(1023, 0x0403, std::string("High\0", 5)),
          Entry(1050, 0x0401, std::string("odd", 3))})
        data.insert(data.end(), part.begin(), part.end());
    std::vector<unsigned char> complete = data;
    complete.push_back(0);
    complete.push_back(0);
    auto entries = gui_logic::ParseDialogInit(complete.data(), complete.size());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].controlId, 1023);
    EXPECT_EQ(entries[0].message, gui_logic::kOldComboAddString);
    EXPECT_EQ(entries[0].text, "Realtime");
    EXPECT_EQ(entries[1].text, "High");
    EXPECT_EQ(entries[2].message, gui_logic::kOldListAddString);
    EXPECT_EQ(entries[2].text, "odd") << "an entry without a NUL ends with its byte count";

    // A count that runs past the data's end: the entry is dropped, nothing is read beyond.
    std::vector<unsigned char> cut(data.begin(), data.end() - 2);
    EXPECT_EQ(gui_logic::ParseDialogInit(cut.data(), cut.size()).size(), 2u);
    // Bytes after the end mark are not entries.
    complete.push_back(7);
    EXPECT_EQ(gui_logic::ParseDialogInit(complete.data(), complete.size()).size(), 3u);
    EXPECT_TRUE(gui_logic::ParseDialogInit(nullptr, 10).empty());
    EXPECT_TRUE(gui_logic::ParseDialogInit(complete.data(), 5).empty());
}

}  // namespace
