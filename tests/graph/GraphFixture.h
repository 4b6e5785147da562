// A response graph of the main form's size on a shown window, attached to a
// fresh model and showing output 1, and helpers to point at bands the way a
// user does.
#pragma once

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>

#include "CFStatic.h"
#include "DataDefine.h"
#include "Filter.h"
#include "KTV_Data.h"
#include "ModelFixture.h"

class GraphTest : public ModelTest {
protected:
    static constexpr int kGraphW = 850;  // the main form's graph
    static constexpr int kGraphH = 290;
    static constexpr int W = kGraphW - 45;
    static constexpr int H = kGraphH - 30;
    static constexpr int kHighPassIndex = 31;
    static constexpr int kLowPassIndex = 32;

    void SetUp() override
    {
        ModelTest::SetUp();
        State().m_nDeviceType = 1;
        m_pHost = std::make_unique<QWidget>();
        m_pHost->resize(kGraphW + 20, kGraphH + 16);
        m_pGraph = new CFStatic(1000, m_pHost.get());
        m_pGraph->setGeometry(10, 8, kGraphW, kGraphH);
        m_pGraph->AttachModel(&Data());
        m_pGraph->SelectOutputChannel(0);
        m_pGraph->SetMode(CFStatic::kModeOutput);
        m_pHost->show();
        m_pHost->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pHost.get()));
    }

    void TearDown() override
    {
        QTest::mouseRelease(m_pGraph, Qt::LeftButton);  // never leave a button held for the next case
        m_pHost.reset();
        State().m_nDeviceType = 1;
        ModelTest::TearDown();
    }

    CKTV_OutData& Out(int n = 0) { return Data().Output(n); }
    CFilter& Band(int i, int nOutput = 0) { return Out(nOutput).EQ()[i]; }

    // Output bands are graphic (fixed frequency) until the page switches the
    // channel to parametric.
    void MakeParametric(int nOutput = 0)
    {
        Out(nOutput).SetEqMode(0);
        m_pGraph->Redraw(-1);
    }

    static int XOf(double dFreq) { return FreqToCol(dFreq, W) + kPlotOffsetX; }
    static int YOf(double dDb) { return DbToRow(dDb, H) + kPlotOffsetY; }
    static QPoint Centre(const BandRect& rc) { return {rc.CenterX(), rc.CenterY()}; }
    QPoint MarkerOf(int i) { return Centre(Band(i).MarkerRect()); }

    // A hover move, as the cursor passes without a button.
    void Hover(const QPoint& pt) { QTest::mouseMove(m_pGraph, pt); }

    // Cursor onto the grab point, button down, one move to the target, up.
    void Drag(const QPoint& from, const QPoint& to)
    {
        Press(from);
        QTest::mouseMove(m_pGraph, to);
        QTest::mouseRelease(m_pGraph, Qt::LeftButton, {}, to);
    }

    void Press(const QPoint& from)
    {
        Hover(from + QPoint(1, 0));
        Hover(from);
        QTest::mousePress(m_pGraph, Qt::LeftButton, {}, from);
    }

    std::unique_ptr<QWidget> m_pHost;
    CFStatic* m_pGraph = nullptr;
};
