#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Frame.h"
#include "FrameAssembler.h"
#include "FirmwareTestFiles.h"
#include "GlobalData.h"

using Bytes = std::vector<uint8_t>;

namespace {

// A queued firmware command as the processor would decode it.
struct Sent {
    int nStep = 0;      // m_nFirmwareStep
    int nTag = 0;       // m_nProgressTag
    int nLength = 0;
    bool bOk = false;   // one well-formed frame: sync, checksum, end byte
    int nCommand = 0;
    int nPreset = -1;
    int nKind = 0;
    int nItem = 0;
    Bytes payload;
};

Sent Decode(const CSendData& data)
{
    Sent sent;
    sent.nStep = data.m_nFirmwareStep;
    sent.nTag = data.m_nProgressTag;
    sent.nLength = data.Length();
    int nFrames = 0;
    CFrameAssembler assembler([&](const uint8_t* f, int n, FrameCheck check) {
        ++nFrames;
        sent.bOk = check == FrameCheck::Ok && n == data.Length() - 3;
        sent.nCommand = f[1];
        sent.nPreset = f[3];
        sent.nKind = f[4];
        sent.nItem = f[5];
        sent.payload.assign(f + 11, f + n - 2);
    });
    assembler.Feed(data.Frame(), static_cast<size_t>(data.Length()));
    sent.bOk = sent.bOk && nFrames == 1 && data.Frame()[0] == kFrameSync;
    return sent;
}

std::vector<std::vector<Sent>> DecodedCalls(CFirmwareUpdate& update)
{
    std::vector<std::vector<Sent>> calls;
    for (const auto& call : AllCalls(update)) {
        calls.emplace_back();
        for (const auto& p : call)
            calls.back().push_back(Decode(*p));
    }
    return calls;
}

std::vector<int> Steps(const std::vector<Sent>& commands)
{
    std::vector<int> steps;
    for (const Sent& s : commands)
        steps.push_back(s.nStep);
    return steps;
}

std::vector<Sent> Flatten(const std::vector<std::vector<Sent>>& calls)
{
    std::vector<Sent> all;
    for (const auto& call : calls)
        all.insert(all.end(), call.begin(), call.end());
    return all;
}

Bytes Range(const Bytes& bytes, size_t nFrom, size_t nCount)
{
    return Bytes(bytes.begin() + static_cast<long>(nFrom), bytes.begin() + static_cast<long>(nFrom + nCount));
}

uint32_t Address(const Sent& chunk)
{
    return chunk.payload[0] | chunk.payload[1] << 8 | chunk.payload[2] << 16 | static_cast<uint32_t>(chunk.payload[3]) << 24;
}

}  // namespace

// ---- Command sequences ----------------------------------------------------------

TEST(FirmwareSequenceTest, McuOnlyFileOf4Plus100Bytes)
{
    // The tag, then a 100-byte image: 4 header bytes and 96 data bytes.
    const Bytes image = PatternBytes(100, 1);
    CFirmwareUpdate update = ParsedOrFail(WithTag("WMCU", image));
    const std::vector<std::vector<Sent>> calls = DecodedCalls(update);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(Steps(calls[0]), (std::vector<int>{255}));
    EXPECT_EQ(Steps(calls[1]), (std::vector<int>{54, 55, 56}));
    EXPECT_EQ(Steps(calls[2]), (std::vector<int>{56, 57}));

    const Sent& header = calls[1][1];
    EXPECT_EQ(header.payload, Range(image, 0, 4));
    EXPECT_EQ(calls[1][2].payload, Range(image, 4, 48));
    // 96 data bytes: the second chunk is full and needs no fill.
    EXPECT_EQ(calls[2][0].payload, Range(image, 52, 48));
    uint8_t nSum = 0x12;
    for (size_t i = 4; i < image.size(); ++i)
        nSum ^= image[i];
    EXPECT_EQ(calls[2][1].payload, Bytes{nSum});
    EXPECT_EQ(update.m_nMcuStep, McuStep::Finished);
}

TEST(FirmwareSequenceTest, EveryCommandIsASystemWriteOfItsStepWithTheLengthOfItsStep)
{
    CFirmwareUpdate update = ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 2), PatternBytes(4 + 60, 3)));
    const std::vector<Sent> all = Flatten(DecodedCalls(update));
    const std::map<int, int> lengths = {{255, 64}, {54, 32}, {58, 32}, {59, 64}, {55, 20}, {56, 64}, {57, 17}};
    std::map<int, int> seen;
    for (const Sent& s : all) {
        ++seen[s.nStep];
        ASSERT_TRUE(s.bOk) << s.nStep;
        EXPECT_EQ(s.nCommand, kCmdWrite);
        EXPECT_EQ(s.nPreset, 0);
        EXPECT_EQ(s.nKind, kKindSystem);
        EXPECT_EQ(s.nItem, s.nStep);
        ASSERT_TRUE(lengths.count(s.nStep)) << s.nStep;
        EXPECT_EQ(s.nLength, lengths.at(s.nStep)) << s.nStep;
    }
    EXPECT_EQ(seen, (std::map<int, int>{{255, 1}, {54, 1}, {58, 1}, {59, 1490}, {55, 1}, {56, 2}, {57, 1}}));
    // Enter and erase carry zeros only.
    EXPECT_EQ(all[1].payload, Bytes(16, 0));
    EXPECT_EQ(all[2].payload, Bytes(16, 0));
}

TEST(FirmwareSequenceTest, AnsweredCommandsAreNumberedForTheProgressBarFromOne)
{
    CFirmwareUpdate update = ParsedOrFail(WithTag("WMCU", PatternBytes(4 + 200, 4)));
    const std::vector<Sent> all = Flatten(DecodedCalls(update));
    ASSERT_EQ(all.front().nStep, kStepHandshake);
    EXPECT_EQ(all.front().nTag, 0);
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_EQ(all[i].nTag, static_cast<int>(i)) << i;
    EXPECT_EQ(update.m_nProgressItem, update.m_nSteps);
}

TEST(FirmwareSequenceTest, DspImageGoesIn1489FullChunksAndOneOf19Bytes)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 5);
    CFirmwareUpdate update = ParsedOrFail(DspFile(dsp));
    const std::vector<std::vector<Sent>> calls = DecodedCalls(update);
    EXPECT_EQ(Steps(calls[0]), (std::vector<int>{255}));
    EXPECT_EQ(Steps(calls[1]), (std::vector<int>{54, 58, 59}));

    std::vector<Sent> chunks;
    for (const Sent& s : Flatten(calls)) {
        if (s.nStep == kStepDspData)
            chunks.push_back(s);
    }
    ASSERT_EQ(chunks.size(), 1490u);
    for (size_t i = 0; i < 1489; ++i) {
        ASSERT_EQ(Address(chunks[i]), 44 * i);
        ASSERT_EQ(Range(chunks[i].payload, 4, 44), Range(dsp, 44 * i, 44)) << i;
    }
    const Sent& last = chunks.back();
    EXPECT_EQ(Address(last), 65516u);
    EXPECT_EQ(Range(last.payload, 4, 19), Range(dsp, 65516, 19));
    EXPECT_EQ(Range(last.payload, 23, 25), Bytes(25, 0));
    // Without an MCU image the call with the last chunk also finishes.
    EXPECT_EQ(Steps(calls.back()), (std::vector<int>{59, 57}));
    EXPECT_EQ(calls.back().back().payload, Bytes{0x12});
}

TEST(FirmwareSequenceTest, DspThenMcuEntersTheLoaderOnceAndEndsWithTheMcuChecksum)
{
    const Bytes mcu = PatternBytes(4 + 50, 6);
    CFirmwareUpdate update = ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 6), mcu));
    const std::vector<std::vector<Sent>> calls = DecodedCalls(update);
    // handshake; 54 58 59; 1489 single chunks (the last of them the final
    // DSP chunk, no 57 yet); 55 56; 56 57.
    ASSERT_EQ(calls.size(), 1u + 1u + 1489u + 2u);
    EXPECT_EQ(Steps(calls[1490]), (std::vector<int>{59}));
    EXPECT_EQ(Steps(calls[1491]), (std::vector<int>{55, 56}));
    EXPECT_EQ(Steps(calls[1492]), (std::vector<int>{56, 57}));
    // 50 data bytes: 48, then 2 and 46 bytes of fill.
    Bytes expected = Range(mcu, 52, 2);
    expected.resize(48, 0xFF);
    EXPECT_EQ(calls[1492][0].payload, expected);
    EXPECT_EQ(calls[1492][1].payload, Bytes{update.m_nChecksum});
    EXPECT_EQ(update.m_nDspStep, DspStep::DoneMcuFollows);
    EXPECT_EQ(update.m_nMcuStep, McuStep::Finished);
}

// ---- Handshake report -------------------------------------------------------------

TEST(FirmwareSequenceTest, HandshakeReportAlternatesCAnd11AndIsRecognisedOnlyWhole)
{
    uint8_t report[kReportSize];
    FillHandshakeReport(report);
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 0x43);
    EXPECT_EQ(report[2], 0x11);
    EXPECT_EQ(report[63], 0x43);
    EXPECT_EQ(report[64], 0x11);
    EXPECT_TRUE(IsHandshakeData(report + 1, 64));
    EXPECT_FALSE(IsHandshakeData(report + 1, 63));
    EXPECT_FALSE(IsHandshakeData(report + 2, 63));
    report[40] = 0x43;
    EXPECT_FALSE(IsHandshakeData(report + 1, 64));

    CFirmwareUpdate update = ParsedOrFail(WithTag("WMCU", PatternBytes(10, 7)));
    const Sent handshake = Flatten(DecodedCalls(update)).front();
    for (size_t i = 0; i < handshake.payload.size(); ++i)
        EXPECT_EQ(handshake.payload[i], i % 2 == 0 ? 0x43 : 0x11) << i;
}

// ---- Replies ------------------------------------------------------------------------

class FirmwareReplyTest : public ::testing::Test {
protected:
    void SetUp() override { g_bChinese = 0; }
    FirmwareReplyStatus Ack(int nHeadStep, int nReplyStep)
    {
        return OnFirmwareReply(m_update, nHeadStep, kReplyAck, nReplyStep);
    }

    CFirmwareUpdate m_update = ParsedOrFail(WithTag("WMCU", PatternBytes(4 + 200, 8)));
};

TEST_F(FirmwareReplyTest, StatusTextsOfTheSteps)
{
    const struct {
        int nStep;
        const char* pEnglish;
        const char* pChinese;
    } cases[] = {
        {54, "", "固件开始更新"},
        {58, "", "数据传输"},
        {59, "Programming......", "DSP更新开始"},
        {60, "DSP end of the update!", "DSP更新完成!"},
        {57, "Update successfully!", "更新完成!"},
        {55, "", ""},
    };
    for (const auto& c : cases) {
        FirmwareReplyStatus status;
        status.text = FirmwareStepStatus(c.nStep, false);
        EXPECT_EQ(status.Text(false), c.pEnglish) << c.nStep;
        EXPECT_EQ(status.Text(true), c.pChinese) << c.nStep;
    }
}

TEST_F(FirmwareReplyTest, OnlyTheFirstMcuChunkReplyChangesTheLabel)
{
    const FirmwareReplyStatus first = Ack(kStepMcuData, kStepMcuData);
    EXPECT_EQ(first.Text(false), "Programming......");
    EXPECT_EQ(first.Text(true), "数据传输");
    const FirmwareReplyStatus second = Ack(kStepMcuData, kStepMcuData);
    EXPECT_TRUE(second.bAdvance);
    EXPECT_EQ(second.Text(false), "");
    EXPECT_EQ(second.Text(true), "");
}

TEST_F(FirmwareReplyTest, ResendRequestMovesNothingAndFinishesNothing)
{
    const FirmwareReplyStatus status = OnFirmwareReply(m_update, kStepFinish, kReplyResend, kStepFinish);
    EXPECT_FALSE(status.bAdvance);
    EXPECT_FALSE(status.bFinished);
    EXPECT_EQ(status.Text(false), "");
    EXPECT_FALSE(m_update.m_bFinished);
}

TEST_F(FirmwareReplyTest, AcknowledgedChecksumFinishesOnceAndOnlyForStep57)
{
    EXPECT_FALSE(Ack(kStepMcuData, kStepFinish).bFinished);  // an answer that does not fit what was sent
    const FirmwareReplyStatus done = Ack(kStepFinish, kStepFinish);
    EXPECT_TRUE(done.bAdvance);
    EXPECT_TRUE(done.bFinished);
    EXPECT_EQ(done.Text(false), "Update successfully!");
    EXPECT_TRUE(m_update.m_bFinished);
    // A late reply after the end moves nothing any more.
    const FirmwareReplyStatus late = Ack(kStepFinish, kStepFinish);
    EXPECT_FALSE(late.bAdvance);
    EXPECT_FALSE(late.bFinished);
}

TEST(FirmwareDspReplyTest, DspDoneFinishesOnlyADspOnlyUpdateOnItsLastChunk)
{
    CFirmwareUpdate dspOnly = ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 9)));
    NextFirmwareCommand(dspOnly, [](std::unique_ptr<CSendData>) {});  // handshake
    NextFirmwareCommand(dspOnly, [](std::unique_ptr<CSendData>) {});  // 54, 58, first chunk
    // A processor reporting the end too early does not end the update.
    EXPECT_FALSE(OnFirmwareReply(dspOnly, kStepDspData, kReplyAck, kStepDspDone).bFinished);
    while (dspOnly.m_nDspStep != DspStep::Finished)
        NextFirmwareCommand(dspOnly, [](std::unique_ptr<CSendData>) {});
    const FirmwareReplyStatus done = OnFirmwareReply(dspOnly, kStepDspData, kReplyAck, kStepDspDone);
    EXPECT_TRUE(done.bFinished);
    EXPECT_EQ(done.Text(true), "DSP更新完成!");

    CFirmwareUpdate withMcu = ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 9), PatternBytes(10, 9)));
    AllCalls(withMcu);
    const FirmwareReplyStatus notYet = OnFirmwareReply(withMcu, kStepDspData, kReplyAck, kStepDspDone);
    EXPECT_TRUE(notYet.bAdvance);
    EXPECT_FALSE(notYet.bFinished);
    EXPECT_EQ(notYet.Text(false), "DSP end of the update!");
}
