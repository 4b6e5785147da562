#include "ControlName.h"
#include "ChEnEdit.h"

#include <QValidator>

namespace {

// Strips what the flag 0 refuses from every user change (typing, paste,
// drop, input method) before the field takes it; texts set by the program
// are not validated.
class SingleByteFilter : public QValidator {
public:
    explicit SingleByteFilter(CChEnEdit* pEdit) : QValidator(pEdit), m_pEdit(pEdit) {}

    State validate(QString& strInput, int& nPos) const override
    {
        if (m_pEdit->GetFlag() != 0)
            return Acceptable;
        const QString strBefore = strInput.left(nPos);
        nPos = CChEnEdit::SingleByteOnly(strBefore).size();
        strInput = CChEnEdit::SingleByteOnly(strInput);
        return Acceptable;
    }

private:
    const CChEnEdit* m_pEdit;
};

}  // namespace

CChEnEdit::CChEnEdit(int nId, QWidget* pParent)
    : QLineEdit(pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    setValidator(new SingleByteFilter(this));
}

bool CChEnEdit::IsDoubleByte(QChar ch)
{
    // The device stores names one byte a character; anything beyond Latin-1
    // (every Chinese character, and both halves of a surrogate pair) would
    // need a lead byte.
    return ch.unicode() > 0xFF;
}

QString CChEnEdit::SingleByteOnly(const QString& strText)
{
    QString strResult;
    strResult.reserve(strText.size());
    for (const QChar ch : strText) {
        if (!IsDoubleByte(ch))
            strResult.append(ch);
    }
    return strResult;
}
