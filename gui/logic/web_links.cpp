#include "gui/logic/web_links.h"

namespace gui_logic {

std::string EncodeQueryValue(const std::string& value)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : value) {
        bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                          || c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::string SupportMailLink(const std::string& address)
{
    return "mailto:" + address + "?subject=" + EncodeQueryValue("Zephlaunch Support Email");
}

std::string DonationLink(const std::string& form, const std::string& business, const std::string& itemName,
                         const std::string& itemNumber)
{
    std::string link = form;
    link += form.find('?') == std::string::npos ? '?' : '&';
    link += "business=" + EncodeQueryValue(business);
    link += "&item_name=" + EncodeQueryValue(itemName);
    link += "&item_number=" + EncodeQueryValue(itemNumber);
    link += "&no_note=1&tax=0&currency_code=USD";
    return link;
}

}  // namespace gui_logic
