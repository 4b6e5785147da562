// "Device Firmware Update": the firmware file, Browse, Update, Quit, the
// progress of the transfer and its status line. The transfer itself is the
// link's (the communication thread runs it); the dialog starts it through
// the form (IFirmwareHost) and shows its progress and status, which it
// reads without waiting for the link. The link is always USB: the link
// choice of the template stays hidden.
//
// Created on the stack of the view's ABOUT handler and run modally.
// User-interface thread only.
#pragma once

#include <QTimer>

#include "FormDialog.h"

class CGradientProgressCtrl;
class CTransparentStatic;
class IFirmwareHost;
class QLineEdit;

class CUpgradeDlg : public CFormDialog {
    Q_OBJECT
public:
    static constexpr int kIdFileGroup = 1876;
    static constexpr int kIdHexLabel = 1878;
    static constexpr int kIdUpdate = 1881;
    static constexpr int kIdFile = 1882;
    static constexpr int kIdBrowse = 1883;
    static constexpr int kIdStatus = 1886;
    static constexpr int kIdQuit = 1891;
    static constexpr int kIdProgress = 1414;
    static constexpr int kIdLinkGroup = 1887;
    static constexpr int kIdLinkLabel = 1889;
    static constexpr int kIdLinkPorts = 1898;
    static constexpr int kIdLinkChoices[3] = {1798, 1880, 1888};

    static constexpr int kLeft = 500;
    static constexpr int kTop = 400;
    static constexpr int kWidth = 385;
    static constexpr int kHeight = 220;

    CUpgradeDlg(IFirmwareHost& host, QWidget* pParent);

    // Quit and the close box: a running transfer is cancelled first.
    void reject() override;

private:
    void CreateFileGroup();
    void CreateHiddenLinkGroup();
    void CreateProgress();
    void OnBrowse();
    void OnUpdate();
    // Progress and status of the running update, read from the link.
    void ShowProgress();

    IFirmwareHost& m_host;
    QLineEdit* m_pFile = nullptr;
    CGradientProgressCtrl* m_pProgress = nullptr;
    CTransparentStatic* m_pStatus = nullptr;
    QTimer m_poll;
};
