#include "All_Link_Dlg.h"

#include "ButtonRadio.h"

namespace {

constexpr int kWidthDlu = 187;
constexpr int kHeightDlu = 139;
constexpr int kFirstRadioDlu = 24;
constexpr int kRadioPitchDlu = 14;
constexpr int kButtonsDlu = 116;

// English only; unlike the pair dialog's, no text ends with a space.
constexpr char kCaption[] = "Linking of all channel";
constexpr char kRadioText[] = "CH%1 be applied?";

}  // namespace

CAll_Link_Dlg::CAll_Link_Dlg(QWidget* pParent)
    : CLinkChoiceDlg(kWidthDlu, kHeightDlu, pParent)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    for (int k = 0; k < kOutputs; ++k)
        AddRadio(kIdFirst + k, kFirstRadioDlu + k * kRadioPitchDlu)->setText(QString::fromLatin1(kRadioText).arg(k + 1));
    AddButtons(kButtonsDlu);
}
