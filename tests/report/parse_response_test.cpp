#include <gtest/gtest.h>

#include <string>

#include "report/parse_response.h"

TEST(ParseResponse, JudgesBodies) {
    const struct {
        std::string body;
        bool parses;
        bool accepted;
    } cases[] = {
        {"[common]\r\nresult=1\r\n", true, true},
        {"[COMMON]\r\nRESULT = 1\r\n", true, true},
        {"  \t[ common ]  \n\n  result =1  \n", true, true},
        {"junk before [common]\nresult=1", true, true},  // parsing starts at the first "["
        {"[common]\nresult=1abc", true, true},           // leading digits count
        {"result=1\r\n", false, false},                  // no "[" at all
        {"[common]\r\nresult=2\r\n", true, false},
        {"[common]\r\nresult=\r\n", true, false},
        {"[common]\r\nhello\r\nresult=1\r\n", false, false},
        {"[common]\r\n=1\r\n", false, false},            // empty key
        {"[]\r\nresult=1\r\n", false, false},            // empty section name
        {"[other]\r\nresult=1\r\n", true, false},
        {"[common]\r\nresult=1\r\nresult=0\r\n", true, false},  // a later key replaces
        {"[common]\r\nresult=0\r\n[Common]\r\nresult=1\r\n", true, true},
        {"[common]\nresult=1\0garbage", true, true},
        {std::string("[common]\nresult=1\0", 18), true, true},
        {std::string("\xff\xfe[\x80]\n\x01=\x02", 9), true, false},
        {"", false, false},
        {"[", false, false},  // "[" alone is neither a section nor a key
    };
    for (const auto& c : cases) {
        ResponseSections sections;
        EXPECT_EQ(ParseResponse(c.body, &sections), c.parses) << c.body;
        EXPECT_EQ(IsReportAccepted(c.body), c.accepted) << c.body;
    }
    ResponseSections sections;
    ASSERT_TRUE(ParseResponse("[Common]\r\n Key With Space = A Value \r\n", &sections));
    EXPECT_EQ(sections["common"]["key with space"], "A Value");
}
