#include <gtest/gtest.h>

#include "EmulatorOptions.h"

namespace {
bool Parse(const std::vector<std::string>& args, EmulatorOptions* pOut, std::string* pError)
{
    return ParseEmulatorOptions(args, pOut, pError);
}
}  // namespace

TEST(EmulatorOptionsTest, ListenForms)
{
    std::string strError;
    EmulatorOptions options;
    ASSERT_TRUE(Parse({"--listen", "4700"}, &options, &strError)) << strError;
    EXPECT_EQ(options.strHost, "127.0.0.1");
    EXPECT_EQ(options.nPort, 4700);

    ASSERT_TRUE(Parse({"--listen", "0.0.0.0:0"}, &options, &strError)) << strError;
    EXPECT_EQ(options.strHost, "0.0.0.0");
    EXPECT_EQ(options.nPort, 0);

    ASSERT_TRUE(Parse({"--listen", "[::1]:4701"}, &options, &strError)) << strError;
    EXPECT_EQ(options.strHost, "::1");
    EXPECT_EQ(options.nPort, 4701);
}

TEST(EmulatorOptionsTest, GadgetNodeAndFolder)
{
    std::string strError;
    EmulatorOptions options;
    ASSERT_TRUE(Parse({"--hidg", "/dev/hidg1", "--gadget", "/sys/kernel/config/usb_gadget/b"}, &options, &strError))
        << strError;
    EXPECT_EQ(options.strHidg, "/dev/hidg1");
    EXPECT_EQ(options.strGadget, "/sys/kernel/config/usb_gadget/b");
    EXPECT_EQ(options.nPort, -1);
}

TEST(EmulatorOptionsTest, EveryFaultOption)
{
    std::string strError;
    EmulatorOptions options;
    ASSERT_TRUE(Parse({"--drop-every", "3", "--corrupt-every", "4", "--resend-every", "5", "--delay-ms", "20",
                       "--silent-after", "7", "--empty-reply-on", "52", "--wrong-id", "XYZ", "--unplug-after", "8",
                       "--listen", "9"},
                      &options, &strError))
        << strError;
    EXPECT_EQ(options.faults.nDropEvery, 3);
    EXPECT_EQ(options.faults.nCorruptEvery, 4);
    EXPECT_EQ(options.faults.nResendEvery, 5);
    EXPECT_EQ(options.faults.nDelayMs, 20);
    EXPECT_EQ(options.faults.nSilentAfter, 7);
    EXPECT_EQ(options.faults.nEmptyReplyItem, 52);
    EXPECT_EQ(options.faults.strWrongId, "XYZ");
    EXPECT_EQ(options.faults.nUnplugAfter, 8);
}

TEST(EmulatorOptionsTest, BadInputIsRefusedAndChangesNothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {},                                        // no --listen
        {"--listen"},                              // no value
        {"--listen", "70000"},                     // port out of range
        {"--listen", "host:"},                     // no port
        {"--listen", ":4700"},                     // empty host
        {"--listen", "4700", "--drop-every", "-1"},
        {"--listen", "4700", "--drop-every", "2x"},
        {"--listen", "4700", "--empty-reply-on", "256"},
        {"--listen", "4700", "--delay-ms", "99999999999"},
        {"--listen", "4700", "--bogus", "1"},
        {"--listen", "4700", "stray"},
        {"--hidg", "/dev/hidg0"},                  // no gadget folder
        {"--gadget", "/tmp/g"},                    // no node
        {"--listen", "4700", "--hidg", "/dev/hidg0", "--gadget", "/tmp/g"},  // two places
    };
    for (const auto& args : bad) {
        EmulatorOptions options;
        options.faults.nDropEvery = 11;
        std::string strError;
        EXPECT_FALSE(Parse(args, &options, &strError)) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(strError.empty());
        EXPECT_EQ(options.nPort, -1);
        EXPECT_EQ(options.faults.nDropEvery, 11);
    }
}
