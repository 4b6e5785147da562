// "Fit to measurement": the limits of a room fit of one output, the fit's
// residual before and after, and Apply. Every change of a field starts a
// new fit on a worker (the running one is cancelled), and each finished
// fit is previewed on the graph through the host.
//
// The dialog edits nothing: the view applies Result() once it has been
// accepted. Closing it, however, cancels a running fit and clears the
// preview, and never waits for the worker.
//
// Created on the stack of the view's handler and run modally.
// User-interface thread only.
#pragma once

#include <functional>
#include <memory>

#include "FormDialog.h"
#include "RoomFit.h"

class CRoomFitJob;
class CTransparentStatic;
class QDoubleSpinBox;
class QSpinBox;

// What the dialog needs of the editor around it.
struct RoomFitDlgHost {
    std::function<QString()> askTargetFile;                // a house curve's file; empty when cancelled
    std::function<void(const AxisResponse&)> showPreview;  // crossover and fitted bands, in dB
    std::function<void()> clearPreview;
    std::function<bool()> mayApply;                        // asked when Apply is pressed
    std::function<void(const QString&)> showMessage;       // a house curve refused
};

class CRoomFitDlg : public CFormDialog {
    Q_OBJECT
public:
    static constexpr int kIdLow = 2400;
    static constexpr int kIdHigh = 2401;
    static constexpr int kIdBands = 2402;
    static constexpr int kIdBoost = 2403;
    static constexpr int kIdCut = 2404;
    static constexpr int kIdTarget = 2405;
    static constexpr int kIdTargetFile = 2406;
    static constexpr int kIdFlat = 2407;
    static constexpr int kIdBefore = 2408;
    static constexpr int kIdAfter = 2409;
    static constexpr int kIdApply = 2410;
    static constexpr int kIdCancel = 2411;

    // input: the measurement and the output's crossover, with the limits
    // the fields start from.
    CRoomFitDlg(QWidget* pParent, const RoomFitInput& input, RoomFitDlgHost host);
    ~CRoomFitDlg() override;

    // The last finished fit of the fields as they are; Done only then.
    const RoomFitResult& Result() const { return m_result; }
    bool IsFitting() const { return m_job != nullptr; }

    void done(int nResult) override;

private:
    void CreateFields();
    void CreateButtons();
    void AddLabel(TextId text, int y);
    QSpinBox* AddWhole(int nId, int nLow, int nHigh, int nValue, const QRect& rect);
    QDoubleSpinBox* AddDecibels(int nId, double dLow, double dHigh, double dValue, int y);
    void Refit();
    void CancelFit();
    void OnFitted(const RoomFitResult& result);
    void OnTargetFile();
    void OnFlat();
    void ShowResult();

    RoomFitInput m_input;
    RoomFitDlgHost m_host;
    std::shared_ptr<CRoomFitJob> m_job;
    RoomFitResult m_result;
    QSpinBox* m_pLow = nullptr;
    QSpinBox* m_pHigh = nullptr;
    QSpinBox* m_pBands = nullptr;
    QDoubleSpinBox* m_pBoost = nullptr;
    QDoubleSpinBox* m_pCut = nullptr;
    CTransparentStatic* m_pTarget = nullptr;
    CTransparentStatic* m_pBefore = nullptr;
    CTransparentStatic* m_pAfter = nullptr;
    QPushButton* m_pApply = nullptr;
};
