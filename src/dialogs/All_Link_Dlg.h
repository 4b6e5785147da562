// "Linking of all channel": asks which output all six linked outputs start
// from. Choice() is that output, 0 … 5.
//
// User-interface thread only.
#pragma once

#include "GlobalData.h"
#include "LinkChoiceDlg.h"

class CAll_Link_Dlg : public CLinkChoiceDlg {
    Q_OBJECT
public:
    static constexpr int kIdFirst = 2251;  // 2251 … 2256

    explicit CAll_Link_Dlg(QWidget* pParent);
};
