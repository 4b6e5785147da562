#include <gtest/gtest.h>

#include "CtlArgs.h"

namespace {

CtlInvocation Parse(const std::vector<std::string>& args, const char* pEnv = nullptr)
{
    CtlInvocation inv;
    std::string strError;
    EXPECT_TRUE(ParseInvocation(args, pEnv, &inv, &strError)) << strError;
    return inv;
}

std::string Refusal(const std::vector<std::string>& args)
{
    CtlInvocation inv;
    inv.strCommand = "untouched";
    std::string strError;
    EXPECT_FALSE(ParseInvocation(args, nullptr, &inv, &strError));
    EXPECT_EQ(inv.strCommand, "untouched");
    return strError;
}

}  // namespace

TEST(CtlArgs, DeviceComesFromTheOptionThenTheEnvironmentThenUsb)
{
    EXPECT_EQ(Parse({"info"}).strDevice, "usb");
    EXPECT_EQ(Parse({"info"}, "virtual").strDevice, "virtual");
    EXPECT_EQ(Parse({"--device", "tcp:h:1", "info"}, "virtual").strDevice, "tcp:h:1");
    EXPECT_EQ(Parse({"info", "--device=virtual"}).strDevice, "virtual");
}

TEST(CtlArgs, OptionsMayFollowTheCommandButNegativeValuesStayArguments)
{
    const CtlInvocation inv = Parse({"set", "1", "level", "-6", "--json"});
    EXPECT_TRUE(inv.bJson);
    EXPECT_EQ(inv.strCommand, "set");
    EXPECT_EQ(inv.args, (std::vector<std::string>{"1", "level", "-6"}));
}

TEST(CtlArgs, EmulateKeepsItsOwnOptions)
{
    const CtlInvocation inv = Parse({"emulate", "--listen", "4770", "--delay-ms", "5"});
    EXPECT_EQ(inv.args, (std::vector<std::string>{"--listen", "4770", "--delay-ms", "5"}));
}

TEST(CtlArgs, MissingCommandAndBadOptionsAreUsageErrors)
{
    EXPECT_NE(Refusal({}), "");
    EXPECT_NE(Refusal({"--json"}), "");
    EXPECT_NE(Refusal({"--device"}), "");
    EXPECT_NE(Refusal({"--device=", "info"}), "");
    EXPECT_NE(Refusal({"--verbose", "info"}), "");
}
