// The controller's output as the Preview run window shows it.
#include <gtest/gtest.h>

#include "gui/logic/console_text.h"

TEST(ConsoleText, EveryLineBreakFormBecomesCrLf)
{
    using gui_logic::ConsoleTextForEdit;
    EXPECT_EQ(ConsoleTextForEdit("\r\r\nA\r\r\nB"), "\r\nA\r\nB");  // text-mode stream
    EXPECT_EQ(ConsoleTextForEdit("\r\nA\nB\r\n"), "\r\nA\r\nB\r\n");
    EXPECT_EQ(ConsoleTextForEdit("\rWaiting 3\rWaiting 2"), "Waiting 3Waiting 2");
    EXPECT_EQ(ConsoleTextForEdit(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(ConsoleTextForEdit(""), "");
}
