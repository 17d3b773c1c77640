// Expected contents shared by several test files.
#pragma once

#include <string_view>

namespace link14::test {

// The module's registrar script, byte for byte: tabs, CR LF after each line.
inline constexpr std::string_view kRegistrationScript =
    "HKCR\r\n"
    "{\r\n"
    "\tNoRemove AppID\r\n"
    "\t{\r\n"
    "\t\t'%APPID%' = s 'main'\r\n"
    "\t\t'main.EXE'\r\n"
    "\t\t{\r\n"
    "\t\t\tval AppID = s '%APPID%'\r\n"
    "\t\t}\r\n"
    "\t}\r\n"
    "}\r\n";

}  // namespace link14::test
