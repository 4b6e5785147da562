// The crossover of the selected output on the main form: frequency, type
// and slope of its high-pass and low-pass filters (high-pass never above
// low-pass), copied to the outputs linked with it, and the equalizer reset
// button in the same box.
//
// User-interface thread only.
#pragma once

#include <QObject>
#include <functional>

class CFilter;
class CKTV_Data;
class CNumEdit;
class CNumSpin;
class CProcessor;
class CProcessorState;
class CQM7100View;
class CXPButton;
class QComboBox;

class CCrossoverPanel : public QObject {
public:
    CCrossoverPanel(CProcessor& processor, CQM7100View& form);

    // The box and its controls with their handlers, from nX, nY on the form.
    void CreateControls(int nX, int nY);
    void SetUpControls();
    // The slope lists for the processor's variant (variant 2 offers fewer).
    void ApplySlopeList();
    // The selected output's filters shown.
    void Refresh();
    // A crossover filter dragged on the graph: its field follows, and the
    // linked outputs take its frequency.
    void FollowGraph(bool bHighPass);
    // Tab from here goes on into the equalizer page.
    QWidget* LastControl() const;

private:
    // One filter's controls: frequency field and spin, type and slope.
    struct Controls {
        CNumEdit* pFreq = nullptr;
        CNumSpin* pSpin = nullptr;
        QComboBox* pType = nullptr;
        QComboBox* pSlope = nullptr;
    };
    Controls MakeControls(int nBaseId, int nX, int nY);
    void ConnectControls(Controls& controls, bool bHighPass);
    Controls& Of(bool bHighPass) { return bHighPass ? m_highPass : m_lowPass; }
    void OnFrequency(bool bHighPass);
    void OnType(bool bHighPass);
    void OnSlope(bool bHighPass);
    void OnReset();
    void CopyFrequencyToLinked(bool bHighPass);
    // An edit of the selected output's filter and of its linked outputs'.
    void Edit(bool bHighPass, const std::function<void(CFilter&)>& edit);
    void Redraw(bool bHighPass);

    CProcessor& m_processor;
    CKTV_Data& m_data;
    CProcessorState& m_state;
    CQM7100View& m_form;
    bool m_bShortSlopes = false;
    Controls m_highPass;            // 5500 … 5503
    Controls m_lowPass;             // 5510 … 5513
    CXPButton* m_pReset = nullptr;  // 2228
};
