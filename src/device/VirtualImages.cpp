#include "VirtualImages.h"

#include <cstring>

#include "Frame.h"
#include "VirtualStartup.h"

namespace {

bool IsEffectProgram(int nPreset)
{
    return nPreset >= kEffectProgFirst && nPreset <= kEffectProgLast;
}

// Payload size of a whole-block write of this kind.
int BlockWriteSize(int nKind)
{
    switch (nKind) {
    case kKindMic:
    case kKindMusic:
        return kInBlockSize;
    case kKindEffect:
        return kEffectWriteSize;
    case kKindOutput:
        return kOutBlockSize;
    default:
        return 0;
    }
}

}  // namespace

CVirtualImages::CVirtualImages()
{
    FillStartupImage(m_live.data());
    for (Image_t& scene : m_scenes)
        scene = m_live;
    for (auto& program : m_effects)
        FillStartupEffectProgram(program.data());
}

const uint8_t* CVirtualImages::Scene(int n) const
{
    return n >= 1 && n <= kSceneEntries ? m_scenes[n - 1].data() : nullptr;
}

const uint8_t* CVirtualImages::EffectProgram(int n) const
{
    return IsEffectProgram(n) ? m_effects[n - kEffectProgFirst].data() : nullptr;
}

bool CVirtualImages::SetScene(int n, const std::vector<uint8_t>& image)
{
    if (!Scene(n) || image.size() != static_cast<size_t>(kImageSize))
        return false;
    std::memcpy(m_scenes[n - 1].data(), image.data(), kImageSize);
    return true;
}

bool CVirtualImages::SetLive(const std::vector<uint8_t>& image)
{
    if (image.size() != static_cast<size_t>(kImageSize))
        return false;
    std::memcpy(m_live.data(), image.data(), kImageSize);
    return true;
}

uint8_t* CVirtualImages::Image(int nPreset)
{
    if (nPreset == 0)
        return m_live.data();
    return nPreset >= 1 && nPreset <= kSceneEntries ? m_scenes[nPreset - 1].data() : nullptr;
}

CVirtualImages::Span CVirtualImages::Block(int nPreset, int nKind, int nChannel)
{
    if (nKind == kKindEffect && IsEffectProgram(nPreset))
        return {m_effects[nPreset - kEffectProgFirst].data() + kNameSize, kEffectBlockSize};
    uint8_t* pImage = Image(nPreset);
    if (!pImage)
        return {};
    switch (nKind) {
    case kKindMic:
        return nChannel == 0 ? Span{pImage + kOffMic, kInBlockSize} : Span{};
    case kKindMusic:
        return nChannel == kMusicChannel ? Span{pImage + kOffMusic, kInBlockSize} : Span{};
    case kKindEffect:
        return {pImage + kOffEffect, kEffectBlockSize};
    case kKindOutput:
        if (nChannel < 0 || nChannel >= kOutputs)
            return {};
        return {pImage + kOffOutput + kOutBlockSize * nChannel, kOutBlockSize};
    default:
        return {};
    }
}

CVirtualImages::Span CVirtualImages::Name(int nItem, int nPreset)
{
    if (nItem == kItemEffectName && IsEffectProgram(nPreset))
        return {m_effects[nPreset - kEffectProgFirst].data(), kNameSize};
    uint8_t* pImage = Image(nPreset);
    if (!pImage || (nItem != kItemSceneName && nItem != kItemEffectName))
        return {};
    return {pImage + (nItem == kItemSceneName ? kOffSceneName : kOffEffectName), kNameSize};
}

bool CVirtualImages::WriteGroup(int nPreset, int nKind, int nChannel, int nGroup, const uint8_t* pData,
                                int nLength)
{
    const Span block = Block(nPreset, nKind, nChannel);
    if (!block.p || nLength != kGroupSize || nGroup < 0 || kGroupSize * (nGroup + 1) > block.n)
        return false;
    std::memcpy(block.p + kGroupSize * nGroup, pData, kGroupSize);
    return true;
}

bool CVirtualImages::WriteBlock(int nPreset, int nKind, int nChannel, const uint8_t* pData, int nLength)
{
    const Span block = Block(nPreset, nKind, nChannel);
    if (!block.p || nLength != BlockWriteSize(nKind))
        return false;
    std::memcpy(block.p, pData, static_cast<size_t>(nLength));
    return true;
}

bool CVirtualImages::ReadBlock(int nPreset, int nKind, int nChannel, int nMode, std::vector<uint8_t>* pOut)
{
    const Span block = Block(nPreset, nKind, nChannel);
    if (!block.p)
        return false;
    if (nMode == 0 && nPreset != 0) {
        const Span live = Block(0, nKind, nChannel);
        std::memcpy(live.p, block.p, static_cast<size_t>(block.n));
    }
    pOut->assign(block.p, block.p + block.n);
    return true;
}

bool CVirtualImages::WriteName(int nItem, int nPreset, const uint8_t* pData, int nLength)
{
    const Span name = Name(nItem, nPreset);
    if (!name.p || nLength != kNameSize)
        return false;
    std::memcpy(name.p, pData, kNameSize);
    return true;
}

bool CVirtualImages::ReadName(int nItem, int nPreset, std::vector<uint8_t>* pOut)
{
    const Span name = Name(nItem, nPreset);
    if (!name.p)
        return false;
    pOut->assign(name.p, name.p + name.n);
    return true;
}
