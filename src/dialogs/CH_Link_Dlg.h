// "Linking of CH1 and CH2 channel" (and the other two pairs): asks which
// channel of a pair the linked pair starts from. Choice() 0 is the pair's
// first channel, 1 its second.
//
// User-interface thread only.
#pragma once

#include "LinkChoiceDlg.h"

class CCH_Link_Dlg : public CLinkChoiceDlg {
    Q_OBJECT
public:
    static constexpr int kPairs = 3;
    static constexpr int kIdFirst = 2259;
    static constexpr int kIdSecond = 2258;

    // nPair 0, 1, 2: CH1 + CH2, CH3 + CH4, CH5 + CH6.
    CCH_Link_Dlg(int nPair, QWidget* pParent);

    void SetPair(int nPair);
    int Pair() const { return m_nPair; }

private:
    int m_nPair = 0;
};
