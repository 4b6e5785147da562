// The system settings: the music source, the music input's noise gate, and
// for each output its limiter (threshold, attack, release) and the side of
// the stereo source that feeds it. Nothing is kept here: each change goes
// into the control block or the records at once, and the records mark it
// for sending while the processor's data is loaded.
//
// Created on the stack of the view's SYSTEM command and run modally.
// User-interface thread only.
#pragma once

#include <QDialog>
#include <array>

#include "GlobalData.h"

#include "Strings.h"

class CKTV_Data;
class CKTV_OutData;
class CNumEdit;
class CNumSpin;
class IFormHost;
class QComboBox;
class QRect;

class CCurSYSDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of template 108 (+ i for output i, + r for row label r).
    static constexpr int kIdSource = 1101;
    static constexpr int kIdGate = 1103;
    static constexpr int kIdGateSpin = 1104;
    static constexpr int kIdGroup = 1110;
    static constexpr int kIdThreshold = 1120;
    static constexpr int kIdThresholdSpin = 1130;
    static constexpr int kIdAttack = 1140;
    static constexpr int kIdAttackSpin = 1150;
    static constexpr int kIdRelease = 1160;
    static constexpr int kIdMix = 1170;
    static constexpr int kIdRowLabel = 1180;
    // Mix list entries.
    enum Mix : int { kMixLeft, kMixRight, kMixBoth };

    CCurSYSDlg(CKTV_Data& data, IFormHost& host, QWidget* pParent);
    // The fields again from the model (after an undo or redo).
    void ShowModel() { LoadValues(); }

private:
    // One output's compact limiter and mix editor.
    struct Limiter {
        CNumEdit* pThreshold = nullptr;
        CNumSpin* pThresholdSpin = nullptr;
        CNumEdit* pAttack = nullptr;
        CNumSpin* pAttackSpin = nullptr;
        QComboBox* pRelease = nullptr;
        QComboBox* pMix = nullptr;
    };
    using SpinOf = CNumSpin* Limiter::*;
    using Setter = void (CKTV_OutData::*)(int);
    using Getter = int (CKTV_OutData::*)() const;

    // ---- layout ----------------------------------------------------------------------
    void CreateHeader();
    void CreateGroup(int i, int nX, int nY);
    void CreateRowLabels(int nGroupY, int nFirstId);
    void AddLabel(int nId, const QString& strText, const QRect& rect);
    CNumSpin* AddNumber(int nEditId, int nSpinId, const QRect& rect, CNumEdit*& pEdit);
    QComboBox* AddList(int nId, const QRect& rect, const QStringList& items);
    void SetUpFields();

    // ---- values -----------------------------------------------------------------------
    void LoadValues();
    static int MixIndex(const CKTV_OutData& output);
    void OnSource(int nIndex);
    void OnNoiseGate();
    void OnLimiterField(int i, SpinOf spin, Setter set, Getter get);
    void OnRelease(int i);
    void OnMix(int i);

    CKTV_Data& m_data;
    IFormHost& m_host;
    QComboBox* m_pSource = nullptr;
    CNumEdit* m_pGate = nullptr;
    CNumSpin* m_pGateSpin = nullptr;
    std::array<Limiter, kOutputs> m_limiter{};
};
