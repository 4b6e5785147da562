// The output page on a fresh model, in a shown window, with the response
// graph beside it and a host that records what the page asks of the view
// and performs the equalizer reset the way the view does.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

#include "BoxAnswerer.h"
#include "CFStatic.h"
#include "ControlName.h"
#include "FontStatic.h"
#include "ModelFixture.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "OutputHost.h"
#include "SkinFader.h"
#include "XPButton.h"

class RecordingHost : public IOutputHost {
public:
    explicit RecordingHost(CKTV_Data& data) : m_data(data) {}

    void ResendOutputRecord(int nChannel) override { m_resent.push_back(nChannel); }
    void ResetEqualizers() override
    {
        ++m_nResets;
        m_data.Output(m_data.State().m_nCurOutput).ResetEqBands();
        for (int k : m_data.State().LinkedOutputs(m_data.State().m_nCurOutput))
            m_data.Output(k).ResetEqBands();
    }

    std::vector<int> m_resent;
    int m_nResets = 0;

private:
    CKTV_Data& m_data;
};

class PageTest : public ModelTest {
protected:
    static constexpr int kGainPlus6 = 260;
    static constexpr int kGainPlus3 = 230;

    void SetUp() override
    {
        ModelTest::SetUp();
        m_pHost = std::make_unique<RecordingHost>(Data());
        m_pWindow = std::make_unique<QWidget>();
        m_pWindow->resize(COutputDlg::kPageWidth, COutputDlg::kPageHeight + 300);
        m_pPage = new COutputDlg(m_pWindow.get());
        m_pPage->setGeometry(0, 0, COutputDlg::kPageWidth, COutputDlg::kPageHeight);
        m_pGraph = new CFStatic(1369, m_pWindow.get());
        m_pGraph->setGeometry(0, COutputDlg::kPageHeight, 800, 300);
        m_pGraph->AttachModel(&Data());
        m_pWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pWindow.get()));
        Select(0);
    }
    void TearDown() override
    {
        m_pWindow.reset();
        ModelTest::TearDown();
    }

    // What the view does when the user selects output channel k.
    void Select(int k)
    {
        State().m_nCurOutput = k;
        m_pGraph->SelectOutputChannel(k);
        m_pGraph->SetMode(CFStatic::kModeOutput);
        m_pPage->SetHost(m_pHost.get(), m_pGraph, &Data());
        m_pPage->RefreshPage();
        m_pPage->ShowPage(true);
    }

    void Activate()
    {
        m_pWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
    }

    template <typename T>
    T* Ctl(int nId)
    {
        T* pWidget = m_pPage->findChild<T*>(ControlName(nId));
        EXPECT_NE(pWidget, nullptr) << "control " << nId;
        return pWidget;
    }
    CNumEdit* FreqField(int i) { return Ctl<CNumEdit>(COutputDlg::kIdFreqEdit + i); }
    CNumEdit* QField(int i) { return Ctl<CNumEdit>(COutputDlg::kIdQEdit + i); }
    CNumEdit* GainField(int i) { return Ctl<CNumEdit>(COutputDlg::kIdGainEdit + i); }
    CSkinFader* Fader(int i) { return Ctl<CSkinFader>(COutputDlg::kIdFader + i); }
    CXPButton* Bypass(int i) { return Ctl<CXPButton>(COutputDlg::kIdBypass + i); }
    CFontStatic* Label(int i) { return Ctl<CFontStatic>(COutputDlg::kIdLabel + i); }
    CXPButton* AllBypass() { return Ctl<CXPButton>(COutputDlg::kIdAllBypass); }
    CXPButton* Mode() { return Ctl<CXPButton>(COutputDlg::kIdMode); }

    CFilter& Band(int nOutput, int i) { return Data().Output(nOutput).EQ()[i]; }

    static void Click(QWidget* pWidget)
    {
        QTest::mouseClick(pWidget, Qt::LeftButton, {}, pWidget->rect().center());
    }
    // The upper (nDelta +1) or lower half of a spin.
    static void ClickSpin(CNumSpin* pSpin, int nDelta)
    {
        const int y = nDelta > 0 ? pSpin->height() / 4 : pSpin->height() * 3 / 4;
        QTest::mouseClick(pSpin, Qt::LeftButton, {}, QPoint(pSpin->width() / 2, y));
    }
    // Replaces the field's text as a user would; the key then ends the entry.
    void Type(CNumEdit* pField, const QString& strText, Qt::Key nEndKey = Qt::Key_Escape)
    {
        pField->setFocus(Qt::MouseFocusReason);
        pField->selectAll();
        QTest::keyClicks(pField, strText);
        QTest::keyClick(pField, nEndKey);
    }

    // Band i of every output at the same gain code, bands of output 0 shown.
    void SetGainEverywhere(int i, int nCode)
    {
        for (int k = 0; k < kOutputs; ++k)
            Band(k, i).SetGainCode(nCode);
        m_pPage->RefreshPage();
    }

    std::vector<int> RedLabels()
    {
        std::vector<int> red;
        for (int i = 0; i < COutputDlg::kBands; ++i)
            if (Label(i)->TextColor() == QColor(255, 0, 0))
                red.push_back(i);
        return red;
    }
    std::vector<int> ColouredFields()
    {
        std::vector<int> coloured;
        for (CNumEdit* pField : m_pPage->findChildren<CNumEdit*>())
            if (pField->IsColorEnabled())
                coloured.push_back(pField->Id());
        return coloured;
    }

    std::unique_ptr<RecordingHost> m_pHost;
    std::unique_ptr<QWidget> m_pWindow;
    COutputDlg* m_pPage = nullptr;
    CFStatic* m_pGraph = nullptr;
};
