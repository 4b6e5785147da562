#include "CH_Link_Dlg.h"

#include "ButtonRadio.h"

namespace {

constexpr int kWidthDlu = 166;
constexpr int kHeightDlu = 96;
constexpr int kFirstRadioDlu = 26;
constexpr int kSecondRadioDlu = 44;
constexpr int kButtonsDlu = 72;

// English only. Every radio text but the very first ends with a space.
constexpr const char* kCaption[CCH_Link_Dlg::kPairs] = {
    "Linking of CH1 and CH2 channel", "Linking of CH3 and CH4 channel", "Linking of CH5 and CH6 channel"};
constexpr const char* kFirstText[CCH_Link_Dlg::kPairs] = {
    "CH1 be applied?", "CH3 be applied? ", "CH5 be applied? "};
constexpr const char* kSecondText[CCH_Link_Dlg::kPairs] = {
    "CH2 be applied? ", "CH4 be applied? ", "CH6 be applied? "};

}  // namespace

CCH_Link_Dlg::CCH_Link_Dlg(int nPair, QWidget* pParent)
    : CLinkChoiceDlg(kWidthDlu, kHeightDlu, pParent)
{
    AddRadio(kIdFirst, kFirstRadioDlu);
    AddRadio(kIdSecond, kSecondRadioDlu);
    AddButtons(kButtonsDlu);
    SetPair(nPair);
}

void CCH_Link_Dlg::SetPair(int nPair)
{
    m_nPair = nPair >= 0 && nPair < kPairs ? nPair : 0;
    setWindowTitle(QString::fromLatin1(kCaption[m_nPair]));
    Radio(0)->setText(QString::fromLatin1(kFirstText[m_nPair]));
    Radio(1)->setText(QString::fromLatin1(kSecondText[m_nPair]));
}
