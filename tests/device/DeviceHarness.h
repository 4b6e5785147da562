// Talks to a virtual processor the way the editor's link does: frames built
// by the real builders go out in 64-byte reports, replies are taken as
// reports and parsed by the real frame assembler.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "DataDefine.h"
#include "FrameAssembler.h"
#include "FrameBuilder.h"
#include "ModelFixture.h"
#include "VirtualProcessor.h"

struct ReplyFrame {
    bool bOk = false;
    int nCommand = 0;
    int nPreset = 0;
    int nKind = 0;
    int nItem = 0;
    int nMode = 0;
    std::vector<uint8_t> payload;
};

inline void SendFrame(CVirtualProcessor& device, const std::unique_ptr<CSendData>& pFrame)
{
    ASSERT_TRUE(pFrame);
    uint8_t report[kReportSize];
    while (pFrame->FillNextReport(report))
        device.Receive(report + 1, kReportData);
}

// Every report due at `now`, parsed; *pReports counts them.
inline std::vector<ReplyFrame> TakeReplies(CVirtualProcessor& device,
                                           CVirtualProcessor::Clock::time_point now = CVirtualProcessor::Clock::now(),
                                           int* pReports = nullptr)
{
    std::vector<ReplyFrame> replies;
    CFrameAssembler assembler([&](const uint8_t* f, int n, FrameCheck check) {
        ReplyFrame r;
        r.bOk = check == FrameCheck::Ok;
        r.nCommand = f[1];
        r.nPreset = f[3];
        r.nKind = f[4];
        r.nItem = f[5];
        r.nMode = f[6];
        r.payload.assign(f + 11, f + std::max(11, n - 2));
        replies.push_back(r);
    });
    uint8_t report[64];
    int nReports = 0;
    while (device.TakeReport(report, now)) {
        ++nReports;
        assembler.Feed(report, sizeof report);
    }
    if (pReports)
        *pReports = nReports;
    return replies;
}

// Sends one frame and returns the single reply it must get.
inline ReplyFrame Exchange(CVirtualProcessor& device, const std::unique_ptr<CSendData>& pFrame)
{
    SendFrame(device, pFrame);
    const std::vector<ReplyFrame> replies = TakeReplies(device);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? ReplyFrame{} : replies.front();
}

inline std::vector<uint8_t> Slice(const std::vector<uint8_t>& image, int nOffset, int nSize)
{
    return {image.begin() + nOffset, image.begin() + nOffset + nSize};
}

// A recognisable image: every byte differs from its neighbours and from the
// start-up contents of the processor.
inline std::vector<uint8_t> PatternImage(int nSeed)
{
    std::vector<uint8_t> image(kImageSize);
    for (int i = 0; i < kImageSize; ++i)
        image[i] = static_cast<uint8_t>(i * 7 + nSeed * 31 + 3);
    return image;
}

// Everything a write could change, for "nothing changed" checks.
struct DeviceState {
    std::vector<uint8_t> live;
    std::vector<std::vector<uint8_t>> scenes;
    std::vector<std::vector<uint8_t>> effects;
    std::vector<uint8_t> delay;
    std::vector<int> bytes;

    explicit DeviceState(const CVirtualProcessor& device)
        : live(device.LiveImage()), delay(device.DelayTable())
    {
        for (int n = 1; n <= kSceneEntries; ++n)
            scenes.push_back(device.SceneProgram(n));
        for (int n = kEffectProgFirst; n <= kEffectProgLast; ++n)
            effects.push_back(device.EffectProgram(n));
        for (int i = 0; i < 256; ++i)
            bytes.push_back(device.SystemByte(i));
    }
    bool operator==(const DeviceState&) const = default;
};
