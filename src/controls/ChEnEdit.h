// Text field for program names. With the flag 0 it refuses characters that
// take more than one byte in the device's single-byte character set (anything
// outside Latin-1, so every Chinese character), whether typed, pasted,
// dropped or composed by an input method; with the flag 1 (the state after
// construction) every character passes.
//
// UI thread only.
#pragma once

#include <QLineEdit>

class CChEnEdit : public QLineEdit {
    Q_OBJECT

public:
    CChEnEdit(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    // 1: all characters pass; 0: double-byte characters are discarded.
    void SetFlag(int nFlag) { m_nFlag = nFlag; }
    int GetFlag() const { return m_nFlag; }

    // True when the character would be discarded with the flag 0.
    static bool IsDoubleByte(QChar ch);
    // The text without the characters the flag 0 discards.
    static QString SingleByteOnly(const QString& strText);

private:
    const int m_nId;
    int m_nFlag = 1;
};
