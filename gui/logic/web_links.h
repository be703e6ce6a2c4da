// The link targets that lead out of the GUI, built from the addresses a release sets
// (gui/web_addresses.h, from CMake cache variables): the support e-mail link and the
// donation page with its query.
#pragma once

#include <string>

namespace gui_logic {

// Percent-encodes everything but unreserved characters (RFC 3986: letters, digits,
// "-", ".", "_", "~"), for a value inside a query.
std::string EncodeQueryValue(const std::string& value);

// "mailto:<address>?subject=Zephlaunch%20Support%20Email"
std::string SupportMailLink(const std::string& address);

// The donation form with business, item_name, item_number, no_note=1, tax=0 and
// currency_code=USD; "?" or "&" joins the query to what the form address already has.
std::string DonationLink(const std::string& form, const std::string& business, const std::string& itemName,
                         const std::string& itemNumber);

}  // namespace gui_logic
