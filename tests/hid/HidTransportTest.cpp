// The USB adapter over the fake hidapi: discovery, report framing both
// ways, time-outs, removal and the messages a user sees when opening fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FakeHidapi.h"
#include "FrameAssembler.h"
#include "FrameBuilder.h"
#include "HidTransport.h"
#include "ModelFixture.h"

namespace {

constexpr int kWaitMs = 2000;

fakehid::FakeDevice Device(const std::string& strPath, int nVendor, int nProduct, int nRelease)
{
    fakehid::FakeDevice device;
    device.strPath = strPath;
    device.nVendorId = static_cast<unsigned short>(nVendor);
    device.nProductId = static_cast<unsigned short>(nProduct);
    device.nRelease = static_cast<unsigned short>(nRelease);
    return device;
}

fakehid::FakeDevice Processor(const std::string& strPath)
{
    return Device(strPath, kUsbVendorId, kUsbProductId, kUsbRelease);
}

class HidTransportTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        fakehid::Reset();
    }
    void TearDown() override
    {
        fakehid::Reset();
        ModelTest::TearDown();
    }

    // Plugs a processor backed by a virtual one and opens it.
    std::unique_ptr<CHidTransport> PlugAndOpen(const std::string& strPath = "/dev/hidraw3")
    {
        fakehid::FakeDevice device = Processor(strPath);
        device.pProcessor = m_pProcessor;
        fakehid::Plug(device);
        std::string strError;
        std::unique_ptr<CHidTransport> pLink = CHidTransport::Open({}, &strError);
        EXPECT_NE(pLink, nullptr) << strError;
        return pLink;
    }

    std::shared_ptr<CVirtualProcessor> m_pProcessor = std::make_shared<CVirtualProcessor>();
};

// Writes the frame in reports, then reads reports until a whole frame has
// come back; returns it numbered from its start byte (empty if none did).
std::vector<uint8_t> Exchange(ITransport& link, CSendData& frame)
{
    uint8_t report[kReportSize];
    while (frame.FillNextReport(report))
        EXPECT_EQ(link.WriteReport(report, 5), IoResult::Ok);
    std::vector<uint8_t> reply;
    CFrameAssembler assembler([&](const uint8_t* pFrame, int nLength, FrameCheck check) {
        EXPECT_EQ(check, FrameCheck::Ok);
        reply.assign(pFrame, pFrame + nLength);
    });
    for (int i = 0; i < 8 && reply.empty(); ++i) {
        std::memset(report, 0xFF, sizeof(report));
        if (link.ReadReport(report, kWaitMs) != IoResult::Ok)
            break;
        EXPECT_EQ(report[0], 0) << "the report number goes in front of the data";
        assembler.Feed(report + 1, kReportData);
    }
    return reply;
}

// Every report went out as 65 bytes, report number 0 first, and together
// they carry the frame and then only padding.
void ExpectFrameInReports(const CSendData& frame, const std::vector<fakehid::WrittenReport>& written)
{
    const size_t nReports = (static_cast<size_t>(frame.Length()) + kReportData - 1) / kReportData;
    ASSERT_EQ(written.size(), nReports);
    std::vector<uint8_t> data;
    for (const fakehid::WrittenReport& report : written) {
        ASSERT_EQ(report.bytes.size(), static_cast<size_t>(kReportSize));
        EXPECT_EQ(report.bytes[0], 0);
        data.insert(data.end(), report.bytes.begin() + 1, report.bytes.end());
    }
    const std::vector<uint8_t> sent(frame.Frame(), frame.Frame() + frame.Length());
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + frame.Length()), sent);
    EXPECT_EQ(std::count(data.begin() + frame.Length(), data.end(), 0),
              static_cast<long>(data.size()) - frame.Length());
}

TEST_F(HidTransportTest, DiscoveryListsOnlyOurProductWithOurRelease)
{
    fakehid::Plug(Device("/dev/hidraw0", 0x046D, 0xC31C, 0x0110));                 // a keyboard
    fakehid::Plug(Device("/dev/hidraw1", kUsbVendorId, 0x5740, kUsbRelease));      // another ST product
    fakehid::Plug(Device("/dev/hidraw2", kUsbVendorId, kUsbProductId, 0x0100));    // older firmware family
    fakehid::FakeDevice ours = Processor("/dev/hidraw3");
    ours.strSerial = L"ZR4700017";
    ours.strProduct = L"ZR-470 \u5904\u7406\u5668";
    fakehid::Plug(ours);
    fakehid::Plug(Processor("/dev/hidraw4"));

    const std::vector<HidDeviceInfo> found = CHidTransport::Enumerate();

    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].strPath, "/dev/hidraw3");
    EXPECT_EQ(found[0].nVendorId, kUsbVendorId);
    EXPECT_EQ(found[0].nProductId, kUsbProductId);
    EXPECT_EQ(found[0].nRelease, kUsbRelease);
    EXPECT_EQ(found[0].strSerial, "ZR4700017");
    EXPECT_EQ(found[0].strProduct, "ZR-470 \xE5\xA4\x84\xE7\x90\x86\xE5\x99\xA8");
    EXPECT_EQ(found[1].strPath, "/dev/hidraw4");
}

TEST_F(HidTransportTest, OpenSkipsOtherDevicesAndTakesTheProcessor)
{
    fakehid::Plug(Device("/dev/hidraw0", 0x046D, 0xC31C, 0x0110));
    fakehid::Plug(Device("/dev/hidraw1", kUsbVendorId, kUsbProductId, 0x0100));

    const std::unique_ptr<CHidTransport> pLink = PlugAndOpen("/dev/hidraw5");

    ASSERT_NE(pLink, nullptr);
    EXPECT_EQ(pLink->Describe(), "USB /dev/hidraw5");
    EXPECT_EQ(fakehid::OpenHandles(), 1);
}

TEST_F(HidTransportTest, DeviceOptionChoosesOneOfSeveralProcessorsByPathOrSerial)
{
    fakehid::FakeDevice first = Processor("/dev/hidraw3");
    first.strSerial = L"A1";
    fakehid::FakeDevice second = Processor("/dev/hidraw7");
    second.strSerial = L"B2";
    second.nOpenErrno = EACCES;  // a node without the udev rule
    fakehid::Plug(first);
    fakehid::Plug(second);
    fakehid::Plug(Processor("/dev/hidraw9"));
    std::string strError;

    EXPECT_EQ(OpenTransport("usb", &strError)->Describe(), "USB /dev/hidraw3");
    EXPECT_EQ(OpenTransport("usb:/dev/hidraw9", &strError)->Describe(), "USB /dev/hidraw9");
    EXPECT_EQ(OpenTransport("usb:serial=A1", &strError)->Describe(), "USB /dev/hidraw3");
    EXPECT_EQ(OpenTransport("usb:serial=B2", &strError), nullptr);
    EXPECT_NE(strError.find("udev"), std::string::npos) << strError;
    EXPECT_EQ(OpenTransport("usb:/dev/hidraw4", &strError), nullptr);
    EXPECT_EQ(strError, "no ZR-470 processor at /dev/hidraw4 (zr470ctl devices lists them)");
    EXPECT_TRUE(CHidTransport::MayOpen("/dev/hidraw3"));
    EXPECT_FALSE(CHidTransport::MayOpen("/dev/hidraw7"));
    EXPECT_EQ(fakehid::OpenHandles(), 0);
}

TEST_F(HidTransportTest, IdentificationReadReachesTheProcessorAndItsReplyComesBack)
{
    const std::unique_ptr<CHidTransport> pLink = PlugAndOpen();
    ASSERT_NE(pLink, nullptr);
    const std::unique_ptr<CSendData> pFrame = MakeSysReadFrame(kItemIdent, 0);
    ASSERT_NE(pFrame, nullptr);

    const std::vector<uint8_t> reply = Exchange(*pLink, *pFrame);

    ExpectFrameInReports(*pFrame, fakehid::WrittenReports());
    ASSERT_EQ(m_pProcessor->FramesReceived(), 1);
    EXPECT_EQ(m_pProcessor->ReceivedFrames()[0],
              std::vector<uint8_t>(pFrame->Frame(), pFrame->Frame() + pFrame->Length()));
    // Received frames count from the start byte: command 1, kind 4, item 5, payload 11.
    ASSERT_GE(reply.size(), 19u);
    EXPECT_EQ(reply[1], kReplyData);
    EXPECT_EQ(reply[4], kKindSystem);
    EXPECT_EQ(reply[5], kItemIdent);
    EXPECT_EQ(std::string(reply.begin() + 11, reply.begin() + 19), "SVH1-WV1");
}

TEST_F(HidTransportTest, BlockWriteTravelsInFivePaddedReportsAndIsAcknowledged)
{
    const std::unique_ptr<CHidTransport> pLink = PlugAndOpen();
    ASSERT_NE(pLink, nullptr);
    const std::unique_ptr<CSendData> pFrame = MakeBlockFrame(State(), 0, kKindOutput, 1, true, false);
    ASSERT_NE(pFrame, nullptr);
    ASSERT_EQ(pFrame->Length(), 312);

    const std::vector<uint8_t> reply = Exchange(*pLink, *pFrame);

    ExpectFrameInReports(*pFrame, fakehid::WrittenReports());
    ASSERT_EQ(m_pProcessor->FramesReceived(), 1);
    EXPECT_EQ(m_pProcessor->ReceivedFrames()[0],
              std::vector<uint8_t>(pFrame->Frame(), pFrame->Frame() + pFrame->Length()));
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[1], kReplyAck);
}

TEST_F(HidTransportTest, SilentDeviceTimesOutWithoutFailing)
{
    const std::unique_ptr<CHidTransport> pLink = PlugAndOpen();
    ASSERT_NE(pLink, nullptr);
    uint8_t report[kReportSize];

    EXPECT_EQ(pLink->ReadReport(report, 20), IoResult::Timeout);
    EXPECT_EQ(pLink->ReadReport(report, -1), IoResult::Timeout) << "a negative time-out must not block";
}

TEST_F(HidTransportTest, RemovedDeviceMakesReadsAndWritesReportGone)
{
    const std::unique_ptr<CHidTransport> pLink = PlugAndOpen();
    ASSERT_NE(pLink, nullptr);
    uint8_t report[kReportSize] = {};

    m_pProcessor->Vanish();

    EXPECT_EQ(pLink->WriteReport(report, 5), IoResult::Gone);
    EXPECT_EQ(pLink->ReadReport(report, kWaitMs), IoResult::Gone);
    EXPECT_TRUE(CHidTransport::Enumerate().empty());
}

TEST_F(HidTransportTest, FailedWriteToAPresentDeviceIsAnErrorNotARemoval)
{
    fakehid::FakeDevice device = Processor("/dev/hidraw3");
    device.nWriteErrno = ETIMEDOUT;
    fakehid::Plug(device);
    const std::unique_ptr<CHidTransport> pLink = CHidTransport::Open({}, nullptr);
    ASSERT_NE(pLink, nullptr);
    uint8_t report[kReportSize] = {};

    EXPECT_EQ(pLink->WriteReport(report, 5), IoResult::Error);
}

TEST_F(HidTransportTest, NodeWithoutAccessAsksForTheUdevRule)
{
    fakehid::FakeDevice device = Processor("/dev/hidraw3");
    device.nOpenErrno = EACCES;
    fakehid::Plug(device);
    std::string strError;

    EXPECT_EQ(CHidTransport::Open({}, &strError), nullptr);
    EXPECT_EQ(strError, "found the processor but may not open it: install the udev rules, or join the group plugdev");
    EXPECT_EQ(fakehid::OpenHandles(), 0);
}

TEST_F(HidTransportTest, OtherOpenFailureNamesTheNodeAndTheReason)
{
    fakehid::FakeDevice device = Processor("/dev/hidraw3");
    device.nOpenErrno = EBUSY;
    fakehid::Plug(device);
    std::string strError;

    EXPECT_EQ(CHidTransport::Open({}, &strError), nullptr);
    EXPECT_NE(strError.find("/dev/hidraw3"), std::string::npos) << strError;
    EXPECT_NE(strError.find(std::strerror(EBUSY)), std::string::npos) << strError;
    EXPECT_EQ(strError.find("udev"), std::string::npos) << strError;
}

TEST_F(HidTransportTest, NoProcessorIsAnErrorEvenWithOtherHidDevicesPresent)
{
    std::string strError;
    EXPECT_EQ(CHidTransport::Open({}, &strError), nullptr);
    EXPECT_NE(strError.find("no ZR-470"), std::string::npos) << strError;

    fakehid::Plug(Device("/dev/hidraw0", 0x046D, 0xC31C, 0x0110));
    fakehid::Plug(Device("/dev/hidraw1", kUsbVendorId, kUsbProductId, 0x0100));
    strError.clear();
    EXPECT_EQ(CHidTransport::Open({}, &strError), nullptr);
    EXPECT_NE(strError.find("no ZR-470"), std::string::npos) << strError;
    EXPECT_EQ(fakehid::OpenHandles(), 0);
}

TEST_F(HidTransportTest, CloseReleasesTheHandleOnceAndLaterCallsReportGone)
{
    std::unique_ptr<CHidTransport> pLink = PlugAndOpen();
    ASSERT_NE(pLink, nullptr);
    uint8_t report[kReportSize] = {};

    pLink->Close();
    EXPECT_EQ(fakehid::OpenHandles(), 0);
    EXPECT_EQ(pLink->WriteReport(report, 5), IoResult::Gone);
    EXPECT_EQ(pLink->ReadReport(report, 20), IoResult::Gone);
    pLink->Close();
    pLink.reset();
    EXPECT_EQ(fakehid::OpenHandles(), 0);
    EXPECT_EQ(m_pProcessor->FramesReceived(), 0);
}

TEST_F(HidTransportTest, UsbDeviceOptionOpensTheProcessorThroughTheAdapter)
{
    fakehid::FakeDevice device = Processor("/dev/hidraw9");
    fakehid::Plug(device);
    std::string strError;

    const std::unique_ptr<ITransport> pLink = OpenTransport("usb", &strError);

    ASSERT_NE(pLink, nullptr) << strError;
    EXPECT_EQ(pLink->Describe(), "USB /dev/hidraw9");
}

}  // namespace
