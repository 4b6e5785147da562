// The delay manager: the delays of the six outputs at the four listening
// positions, which position is current, the unit delays are shown in, and
// one position saved to or loaded from a file. It keeps no values: every
// change goes through the form's delay services (IFormHost), so its labels
// and position buttons follow while it is open.
//
// Created on the stack of the view's DELAY command and run modally.
// User-interface thread only.
#pragma once

#include <QDialog>
#include <array>

#include "GlobalData.h"

class CNumEdit;
class CNumSpin;
class CXPButton;
class IFormHost;

class CDelayDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdDelay = 9110;     // + output
    static constexpr int kIdDelaySpin = 9120; // + output
    static constexpr int kIdPosition = 2066;  // + position
    static constexpr int kIdUnit = 2260;
    static constexpr int kIdLoad = 2269;
    static constexpr int kIdSave = 2270;
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;
    // Where the window goes when it opens.
    static constexpr int kScreenX = 10;
    static constexpr int kScreenY = 30;

    CDelayDlg(IFormHost& host, QWidget* pParent);

    // The number-field kind that shows delays in a unit (0 ms, 1 inches, 2 cm).
    static int DisplayKind(int nUnit);
    // The fields again from the model (after an undo or redo).
    void ShowModel() { LoadDialog(); }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    // No keyboard travel between the controls.
    bool focusNextPrevChild(bool bNext) override;

private:
    void CreateFields();
    void CreateButtons();
    CXPButton* AddButton(int nId, int nFace, const QPoint& origin);
    void SetFace(CXPButton* pButton, int nFace);
    void ShowUnit();
    // The current position pressed and its delays in the fields.
    void LoadDialog();

    void OnDelay(int nOutput);
    void OnPosition(int nPosition);
    void OnUnit();
    void OnLoad();

    IFormHost& m_host;
    int m_nPosition = 0;
    std::array<CNumEdit*, kOutputs> m_pDelay{};
    std::array<CNumSpin*, kOutputs> m_pSpin{};
    std::array<CXPButton*, kDelayPositions> m_pPosition{};
    CXPButton* m_pUnit = nullptr;
};
