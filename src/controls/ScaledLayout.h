// The pixel layout of a form's direct children as built (the base), shown
// again at any fit: each child is placed where the form's rule puts its
// base rectangle, scaled, and drawn at that scale (fonts, skins). Children
// created later are recorded when they are first seen. UI thread only.
#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

#include "FormFit.h"

class CScaledLayout {
public:
    // Where a child goes at the fit, in form pixels before scaling.
    using Rule = std::function<QRect(QWidget* pChild, const QRect& rcBase)>;

    // Records the direct children of pForm (windows aside) as the base.
    void Record(QWidget* pForm);
    void Apply(const CFormFit& fit, const Rule& rule);
    // The base rectangle of a recorded child; empty if not recorded.
    QRect BaseOf(const QWidget* pChild) const;

private:
    struct Entry {
        QPointer<QWidget> pWidget;
        QRect rcBase;
        QFont fontBase;
        bool bFixedWidth;  // a fixed size is scaled as a fixed size
        bool bFixedHeight;
    };
    void RecordNew(QWidget* pForm);

    QWidget* m_pForm = nullptr;
    std::vector<Entry> m_entries;
};

// Draws one control at a scale: its font, and its skin images or lettering
// where it has its own.
void ScaleControl(QWidget* pWidget, const QFont& fontBase, double dScale);
