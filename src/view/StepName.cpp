#include "StepName.h"

#include "Strings.h"

namespace {

using Part = StepSubject::Part;

// The band's values in CFilter::Values order; the three bypass flags share a word.
TextId BandField(int nField)
{
    static constexpr TextId kFields[] = {kTxtStepKind,   kTxtStepFrequency, kTxtStepGain,
                                         kTxtStepBypass, kTxtStepBypass,    kTxtStepBypass,
                                         kTxtStepBandwidth, kTxtStepKind,   kTxtStepKind};
    return (nField >= 0 && nField < 9) ? kFields[nField] : kTxtStepEqualizer;
}

TextId ChannelPart(Part part)
{
    switch (part) {
    case Part::HighPass: return kTxtStepHighPass;
    case Part::LowPass: return kTxtStepLowPass;
    case Part::Level: return kTxtStepLevel;
    case Part::Mute: return kTxtStepMute;
    case Part::Polarity: return kTxtStepPolarity;
    case Part::EqMode: return kTxtStepEqMode;
    case Part::Mix: return kTxtStepMix;
    case Part::Limiter: return kTxtStepLimiter;
    case Part::Name: return kTxtStepName;
    default: return kTxtStepEqualizer;
    }
}

}  // namespace

QString StepName(const StepSubject& subject)
{
    switch (subject.part) {
    case Part::Band:
        return Tr(kTxtStepBand).arg(subject.nChannel + 1).arg(subject.nBand + 1).arg(Tr(BandField(subject.nField)));
    case Part::Music: return Tr(kTxtStepMusic);
    case Part::Links: return Tr(kTxtStepLinks);
    case Part::Delays: return Tr(kTxtStepDelays);
    case Part::Source: return Tr(kTxtStepSource);
    case Part::None:
    case Part::Several: return Tr(kTxtStepSeveral);
    default: return Tr(kTxtStepChannel).arg(subject.nChannel + 1).arg(Tr(ChannelPart(subject.part)));
    }
}
