// "About": the Help dialog opened by the ABOUT button. It shows the
// processor's identification read at connect and the editor's firmware
// family, opens the help, and ends with OK when the user asks for the
// firmware update (the view then opens the update dialog).
//
// Created on the stack of the view's ABOUT handler and run modally.
// User-interface thread only.
#pragma once

#include "FormDialog.h"

class CTransparentStatic;
class IFirmwareHost;

class CVersionDlg : public CFormDialog {
    Q_OBJECT
public:
    static constexpr int kIdHelp = 8804;
    static constexpr int kIdFirmwareUpdate = 1874;
    static constexpr int kIdFamily = 1875;
    static constexpr int kIdIdentification = 1877;
    static constexpr const char* kFamily = "RVH1-WV1.01(F)";

    CVersionDlg(IFirmwareHost& host, QWidget* pParent);

private:
    CTransparentStatic* AddLabel(int nId, const QString& strText, const QRect& rect);

    IFirmwareHost& m_host;
};
