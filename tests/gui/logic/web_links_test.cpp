#include "gui/logic/web_links.h"

#include <gtest/gtest.h>

using gui_logic::DonationLink;
using gui_logic::EncodeQueryValue;
using gui_logic::SupportMailLink;

TEST(WebLinks, QueryValuesKeepOnlyUnreservedCharactersAsTheyAre)
{
    EXPECT_EQ(EncodeQueryValue("Az09-._~"), "Az09-._~");
    EXPECT_EQ(EncodeQueryValue("a b&c=d?e#f+g/h@i%j"), "a%20b%26c%3Dd%3Fe%23f%2Bg%2Fh%40i%25j");
    // Bytes above 127 (an ANSI or UTF-8 text) are encoded byte by byte.
    EXPECT_EQ(EncodeQueryValue("\xC3\xA9\xFF"), "%C3%A9%FF");
    EXPECT_EQ(EncodeQueryValue(""), "");
}

TEST(WebLinks, SupportMailCarriesTheSubject)
{
    EXPECT_EQ(SupportMailLink("help@example.org"),
              "mailto:help@example.org?subject=Zephlaunch%20Support%20Email");
}

TEST(WebLinks, DonationQueryCarriesEveryKeyWithItsEncodedValue)
{
    EXPECT_EQ(
        DonationLink("https://pay.example/donate", "funds@example.org", "Zephlaunch & friends", "ZL 1.1"),
        "https://pay.example/donate?business=funds%40example.org&item_name=Zephlaunch%20%26%20friends"
        "&item_number=ZL%201.1&no_note=1&tax=0&currency_code=USD");
    // A form address that has a query already gets the keys appended to it.
    EXPECT_EQ(DonationLink("https://pay.example/cgi?cmd=_donations", "b", "n", "1"),
              "https://pay.example/cgi?cmd=_donations&business=b&item_name=n&item_number=1&no_note=1&tax=0"
              "&currency_code=USD");
}
