// The equalizer page of the selected output channel: 31 bands side by side
// (frequency, Q and gain fields with spins, a gain fader and a bypass
// button each) and the page-wide mode and whole-set bypass buttons. Every
// edit goes straight into the output record, to the same band of every
// linked output, and redraws the response graph.
//
// The view owns the page; at every channel selection it calls SetHost,
// RefreshPage and ShowPage(true), and it forwards the graph's band drags
// of bands 0 … 30 to BandEdited.
//
// User-interface thread only.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>

#include "ScaledLayout.h"

class CFStatic;
class CFilter;
class CFontStatic;
class CKTV_Data;
class CKTV_OutData;
class CNumEdit;
class CNumSpin;
class CSkinFader;
class CXPButton;
class IOutputHost;
class QKeyEvent;

class COutputDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBands = 31;
    static constexpr int kPageId = 136;

    // Control identifiers: base + band index.
    static constexpr int kIdQEdit = 4500;
    static constexpr int kIdQSpin = 4540;
    static constexpr int kIdGainEdit = 5000;
    static constexpr int kIdGainSpin = 5040;
    static constexpr int kIdFader = 5100;
    static constexpr int kIdFreqEdit = 5200;
    static constexpr int kIdFreqSpin = 5240;
    static constexpr int kIdLabel = 5280;
    static constexpr int kIdBypass = 5320;
    static constexpr int kIdMode = 5686;
    static constexpr int kIdAllBypass = 1976;

    // Field rows of a band column, top to bottom.
    enum Row : int { kRowFreq, kRowQ, kRowGain, kRows };

    // Layout of the page (the frame's page rectangle is 1244 × 238).
    static constexpr int kColumnWidth = 40;
    static constexpr int kPageWidth = 1244;
    static constexpr int kPageHeight = 238;

    explicit COutputDlg(QWidget* pParent);

    void SetHost(IOutputHost* pHost, CFStatic* pGraph, CKTV_Data* pData);
    // Loads every control from the processor's selected output (m_nCurOutput)
    // and clears the marks.
    void RefreshPage();
    // The graph changed band nBand (0 … 30) of the selected output by a drag.
    void BandEdited(int nBand);
    virtual void ShowPage(bool bShow);
    // Skins and texts again after the language has changed.
    void ApplyLanguage();
    // Shows the page at the form's fit, spread over the page's width;
    // szBase: the page's size at the form's own size.
    void ApplyFit(const CFormFit& fit, const QSize& szBase);

    // The marked band (its label red), or −1.
    int MarkedBand() const { return m_nMarkedBand; }
    // The field with the coloured background, or nullptr.
    CNumEdit* HighlightedField() const { return m_pHighlighted; }
    int CurrentOutput() const { return m_nCurOutput; }
    int EqMode() const { return m_nEqMode; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    struct BandControls {
        CFontStatic* pLabel = nullptr;
        std::array<CNumEdit*, kRows> pField{};
        std::array<CNumSpin*, kRows> pSpin{};
        CSkinFader* pFader = nullptr;
        CXPButton* pBypass = nullptr;
    };

    // ---- construction and layout (OutputDlgLayout.cpp) ---------------------------
    void CreateTopRow();
    void CreateBand(int i);
    void CreateField(int i, Row row, int nEditId, int nSpinId);
    void SetUpRanges(BandControls& band);
    void CreateFader(int i);
    void ApplyTexts();
    void WatchKeys();
    QPixmap PaintBackground(bool bChinese) const;
    QRect ColumnCell(int i) const;

    // ---- page state and marking (OutputDlg.cpp) ----------------------------------
    CKTV_OutData* Record() const;
    CFilter& Band(int i) const;
    void ShowWholeSet();
    void ShowMode();
    void LoadBand(int i);
    void BindFader(int i);
    void UnbindFaders();
    void Redraw(int nBand);
    void MarkLabel(int i);
    void Highlight(Row row, int i);
    void ClearMarks();

    // ---- band handlers (OutputDlgBands.cpp) --------------------------------------
    void OnFrequency(int nId);
    void OnQ(int nId);
    void OnGain(int nId);
    void OnFader(int nId, int nPos, bool bMoving);
    void OnBypass(int i);
    void GainEdited(int i);
    void ShowBypass(int i, bool bBypassed);
    void ShowGain(int i, int nCode);
    template <typename Fn>
    void ForLinkedBands(int i, Fn fn);
    bool IsFocusReport(int i, int nPos, bool bMoving);

    // ---- whole-set bypass and mode conversion (OutputDlgBypass.cpp) -------------
    void OnAllBypass();
    void ApplyWholeSetToGroup(bool bState);
    void ShowAllBands();
    void ShowAllBypassButton(bool bPressed);
    void OnMode();
    bool AskOkCancel(const QString& strQuestion);
    bool AskYesNo(const QString& strQuestion);
    void EnableParametricFields(bool bEnable);

    // ---- keyboard (OutputDlgKeys.cpp) --------------------------------------------
    bool HandleKey(QObject* pWatched, QKeyEvent* pEvent);
    bool MoveDownColumn(QObject* pWatched);
    int FaderIndexOf(QObject* pWatched) const;
    void FocusFader(int i);
    void GiveFocusToForm();
    void NoteFocusIn(QObject* pWatched);

    QPointer<CFStatic> m_pGraph;
    IOutputHost* m_pHost = nullptr;
    CKTV_Data* m_pData = nullptr;
    // The record whose bands are bound to the faders (or nullptr).
    CKTV_OutData* m_pBoundRecord = nullptr;

    std::array<BandControls, kBands> m_band{};
    CXPButton* m_pMode = nullptr;
    CXPButton* m_pAllBypass = nullptr;
    std::array<QPixmap, 2> m_pixBackground;  // English, Chinese; painted when first shown
    CScaledLayout m_layout;
    double m_dScale = 1.0;
    QSize m_szBase{kPageWidth, kPageHeight};
    double m_dColumnExtra = 0.0;  // page pixels each column has beyond kColumnWidth

    // Cached values of the last edit.
    int m_nCurOutput = 0;
    int m_nCurBand = 0;
    int m_nFrequency = 0;
    int m_nBandwidthCode = 0;
    int m_nGainCode = 0;
    bool m_bBandBypass = false;
    bool m_bWholeSetBypass = false;
    int m_nEqMode = 1;

    int m_nMarkedBand = -1;
    CNumEdit* m_pHighlighted = nullptr;

    // The fader that took the focus and the position it showed then: its
    // focus report is not an edit.
    int m_nFocusFader = -1;
    int m_nFocusPos = 0;
};
