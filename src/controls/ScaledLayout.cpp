#include "ScaledLayout.h"

#include <algorithm>
#include <cmath>

#include "FontStatic.h"
#include "SkinFader.h"
#include "SxGroupBox.h"
#include "XPButton.h"

namespace {

QFont ScaledFont(QFont font, double dScale)
{
    if (dScale == 1.0)
        return font;
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * dScale))));
    else
        font.setPointSizeF(font.pointSizeF() * dScale);
    return font;
}

}  // namespace

void ScaleControl(QWidget* pWidget, const QFont& fontBase, double dScale)
{
    const QFont font = ScaledFont(fontBase, dScale);
    if (pWidget->font() != font)
        pWidget->setFont(font);
    if (auto* pButton = qobject_cast<CXPButton*>(pWidget))
        pButton->SetScale(dScale);
    else if (auto* pFader = qobject_cast<CSkinFader*>(pWidget))
        pFader->SetScale(dScale);
    else if (auto* pLabel = qobject_cast<CFontStatic*>(pWidget))
        pLabel->SetScale(dScale);
    else if (auto* pBox = qobject_cast<CSxGroupBox*>(pWidget))
        pBox->SetScale(dScale);
}

void CScaledLayout::Record(QWidget* pForm)
{
    m_pForm = pForm;
    m_entries.clear();
    RecordNew(pForm);
}

void CScaledLayout::RecordNew(QWidget* pForm)
{
    for (QWidget* pChild : pForm->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (pChild->isWindow() || !BaseOf(pChild).isNull())
            continue;
        m_entries.push_back({pChild, pChild->geometry(), pChild->font(),
                             pChild->minimumWidth() == pChild->maximumWidth(),
                             pChild->minimumHeight() == pChild->maximumHeight()});
    }
}

void CScaledLayout::Apply(const CFormFit& fit, const Rule& rule)
{
    if (!m_pForm)
        return;
    RecordNew(m_pForm);
    for (const Entry& entry : m_entries) {
        if (!entry.pWidget)
            continue;
        ScaleControl(entry.pWidget, entry.fontBase, fit.dScale);
        const QRect rc = fit.Scaled(rule(entry.pWidget, entry.rcBase));
        if (entry.bFixedWidth)
            entry.pWidget->setFixedWidth(rc.width());
        if (entry.bFixedHeight)
            entry.pWidget->setFixedHeight(rc.height());
        entry.pWidget->setGeometry(rc);
    }
}

QRect CScaledLayout::BaseOf(const QWidget* pChild) const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [pChild](const Entry& entry) { return entry.pWidget == pChild; });
    return it == m_entries.end() ? QRect() : it->rcBase;
}
