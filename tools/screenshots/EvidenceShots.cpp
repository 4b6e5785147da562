#include "EvidenceShots.h"

#include <QWidget>

#include "CFStatic.h"
#include "KTV_Data.h"
#include "QM7100View.h"

namespace {

bool Shot(CQM7100View& view, const QString& strOut, const char* pName, const QString& strSuffix)
{
    return Settle(view, 400) && Save(view.window(), strOut + '/' + pName + strSuffix + ".png");
}

// A sub on CH5 (low-pass 180 Hz) and a top on CH6 (high-pass 180 Hz, both
// Linkwitz-Riley 24 dB/oct) whose delays are 1.5 ms apart: the sum dips
// around the crossover; the advice says what puts it right. CH5 is unmuted
// for it (the pair links to no other output).
bool SaveSum(CQM7100View& view, const QString& strOut, const QString& strSuffix)
{
    CFStatic& graph = *view.Graph();
    CKTV_OutData& sub = view.Data().Output(4);
    CKTV_OutData& top = view.Data().Output(5);
    sub.SetMute(0);
    sub.EQ().LowPass().SetFrequency(180, true);
    sub.EQ().LowPass().SetSlope(2, true);
    top.EQ().HighPass().SetFrequency(180, true);
    top.EQ().HighPass().SetSlope(2, true);
    view.SetDelay(4, 0);
    view.SetDelay(5, 72);
    view.SelectChannel(5);
    graph.SetSumMember(4, true);
    graph.SetSumMember(5, true);
    graph.ShowSum(true);
    graph.AdviseAlignment();
    const bool bSaved = Shot(view, strOut, "sum", strSuffix);
    graph.ShowSum(false);
    return bSaved;
}

// Room positions on CH5: three seats, their power average and spread.
bool SavePositions(CQM7100View& view, const QString& strOut, const QString& strSuffix)
{
    CFStatic& graph = *view.Graph();
    graph.ClearMeasurement(4);
    std::string strError;
    for (const double dShift : {0.0, 1.5, -2.0}) {
        std::vector<MeasurementPoint> seat = RoomPoints();
        for (MeasurementPoint& point : seat)
            point.dDb += dShift * std::sin(point.dFreq / 90.0);
        if (!graph.AddPosition(4, seat, &strError))
            return false;
    }
    view.SelectChannel(4);
    const bool bSaved = Shot(view, strOut, "positions", strSuffix);
    graph.ClearMeasurement(4);
    return bSaved;
}

}  // namespace

bool SaveEvidence(CQM7100View& view, const QString& strOut, const QString& strSuffix)
{
    CFStatic& graph = *view.Graph();
    view.SelectChannel(0);
    graph.SetView(ResponseView::Phase);
    if (!Shot(view, strOut, "phase", strSuffix))
        return false;
    graph.SetView(ResponseView::Magnitude);
    // A kept, then two bands changed: B over A and the difference.
    graph.KeepAsA();
    view.Data().Output(0).EQ()[9].SetGainCode(GainToCode(2.0));
    view.Data().Output(0).EQ()[16].SetGainCode(GainToCode(-1.0));
    graph.ShowDifference(true);
    const bool bAB = Shot(view, strOut, "ab", strSuffix);
    graph.ClearA();
    return bAB && SaveSum(view, strOut, strSuffix) && SavePositions(view, strOut, strSuffix);
}
