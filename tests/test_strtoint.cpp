#include "document/strtoint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

TEST(StrToInt, ConvertsDecimalAndHex)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"007", 7}, {"\t 12", 12}, {"-5", -5}, {"+5", 5}, {"$ff", 255}, {"X1F", 31}, {"0x10", 16}, {"-$10", -16},
        {"$80000000", INT32_MIN}, {"$FFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(StrToInt(text), value) << '"' << text << '"';
}

TEST(StrToInt, RejectsWithTheUsersText)
{
    for (const char* text : {"abc", "", "   ", "12 ", "1 2", "12a", "-", "+-1", "- 1", "$", "0x", "$G", "1.5",
                             "2147483648", "-2147483649", "99999999999999999999", "$100000000"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error for \"" << text << '"';
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
        }
    }
}
