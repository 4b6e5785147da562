// Skin images of the push buttons: graphite when released, lit in the
// button's accent colour when pressed; lettering in both languages.
#include "SkinFactory.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "SkinColors.h"
#include "Strings.h"

namespace {

using SkinColors::Face;

enum class Numbering { kNone, kIndex, kPair };

struct ButtonKind {
    int nBase;
    int nCount;            // instances, kSkinButtonStride apart
    int nWidth;
    int nHeight;
    const Face* pLit;      // face of the pressed state
    Numbering numbering;
    TextPair released;     // "%1", "%2" are filled in by the numbering
    TextPair pressed;      // null texts: as released
};

constexpr TextPair kSame {nullptr, nullptr};

const std::vector<ButtonKind>& Kinds()
{
    using namespace SkinColors;
    static const std::vector<ButtonKind> kinds {
        {kSkinChannelSelect, 6, 64, 26, &kTeal, Numbering::kIndex, {"CH%1", "通道%1"}, kSame},
        {kSkinChannelTag, 6, 28, 20, &kTeal, Numbering::kIndex, {"%1", "%1"}, kSame},
        {kSkinMute, 1, 52, 22, &kRed, Numbering::kNone, {"MUTE", "静音"}, kSame},
        {kSkinPolarity, 1, 52, 22, &kAmber, Numbering::kNone, {"POL", "反相"}, kSame},
        {kSkinLine, 1, 52, 22, &kGreen, Numbering::kNone, {"Line", "曲线"}, kSame},
        {kSkinPosition, 4, 30, 24, &kTeal, Numbering::kIndex, {"%1", "%1"}, kSame},
        {kSkinPairLink, 3, 60, 24, &kAmber, Numbering::kPair, {"CH%1+%2", "%1+%2联动"}, kSame},
        {kSkinLinkAll, 1, 90, 24, &kAmber, Numbering::kNone, {"LINK ALL", "全部联动"}, kSame},
        {kSkinDelay, 1, 90, 24, &kBlue, Numbering::kNone, {"DELAY", "延时"}, kSame},
        {kSkinProgram, 1, 96, 30, &kBlue, Numbering::kNone, TextOf(kTxtProgram), kSame},
        {kSkinSystem, 1, 96, 30, &kBlue, Numbering::kNone, TextOf(kTxtSystem), kSame},
        {kSkinReport, 1, 96, 30, &kBlue, Numbering::kNone, TextOf(kTxtReport), kSame},
        {kSkinAbout, 1, 96, 30, &kBlue, Numbering::kNone, TextOf(kTxtAbout), kSame},
        {kSkinConnect, 1, 120, 36, &kGreen, Numbering::kNone, {"CONNECT", "连接"},
         {"DISCONNECT", "断开"}},
        {kSkinReset, 1, 72, 24, &kBlue, Numbering::kNone, {"Reset", "复位"}, kSame},
        {kSkinBypass, 1, 32, 16, &kAmber, Numbering::kNone, {"BYP", "旁路"}, kSame},
        {kSkinEqMode, 1, 60, 24, &kTeal, Numbering::kNone, {"PEQ", "参量"}, {"GEQ", "图示"}},
        {kSkinAllBypass, 1, 90, 24, &kAmber, Numbering::kNone, {"ALLBYPASS", "全部旁路"}, kSame},
    };
    return kinds;
}

enum class Touch { kNormal, kHover, kHeld };

struct ButtonImage {
    const ButtonKind* pKind;
    int nIndex;            // instance of the kind
    bool bChinese;
    bool bPressed;
    Touch touch;
};

std::optional<ButtonImage> Decode(int nResource)
{
    constexpr int kPerLanguage = kSkinButtonImages / 2;
    for (const ButtonKind& kind : Kinds()) {
        const int nOffset = nResource - kind.nBase;
        if (nOffset < 0 || nOffset >= kind.nCount * kSkinButtonStride)
            continue;
        const int nImage = nOffset % kSkinButtonStride;
        if (nImage >= kSkinButtonImages)
            return std::nullopt;
        const int nSlot = nImage % kPerLanguage;
        return ButtonImage {&kind, nOffset / kSkinButtonStride, nImage >= kPerLanguage,
                            nSlot < 3, static_cast<Touch>(nSlot % 3)};
    }
    return std::nullopt;
}

QString Lettering(const ButtonImage& image)
{
    const ButtonKind& kind = *image.pKind;
    const TextPair& pair = image.bPressed && kind.pressed.szEnglish ? kind.pressed : kind.released;
    const QString strText = QString::fromUtf8(image.bChinese ? pair.szChinese : pair.szEnglish);
    switch (kind.numbering) {
    case Numbering::kIndex:
        return strText.arg(image.nIndex + 1);
    case Numbering::kPair:
        return strText.arg(2 * image.nIndex + 1).arg(2 * image.nIndex + 2);
    case Numbering::kNone:
        break;
    }
    return strText;
}

// Bold Liberation Sans (metric Arial); Chinese glyphs fall back to Noto
// Sans CJK. Shrinks until the text fits the face with a little air.
QFont LetteringFont(const QString& strText, const QSize& size)
{
    constexpr int kMinPixels = 10;
    constexpr int kMaxPixels = 14;
    constexpr int kSideAir = 4;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setStyleStrategy(QFont::PreferAntialias);
    int nPixels = std::clamp(size.height() * 60 / 100, kMinPixels, kMaxPixels);
    for (;; --nPixels) {
        font.setPixelSize(nPixels);
        if (nPixels <= kMinPixels
            || QFontMetrics(font).horizontalAdvance(strText) <= size.width() - 2 * kSideAir)
            return font;
    }
}

struct FaceColours {
    QColor crTop;
    QColor crBottom;
    QColor crBorder;
    QColor crText;
};

FaceColours ColoursOf(const Face& face, Touch touch)
{
    FaceColours colours {QColor(face.crTop), QColor(face.crBottom), QColor(face.crBorder),
                         QColor(face.crText)};
    if (touch == Touch::kHover) {
        colours.crTop = colours.crTop.lighter(SkinColors::kHoverLighter);
        colours.crBottom = colours.crBottom.lighter(SkinColors::kHoverLighter);
    } else if (touch == Touch::kHeld) {
        // Reversed and darker: the face looks pushed in.
        const QColor crTop = colours.crTop;
        colours.crTop = colours.crBottom.darker(SkinColors::kHeldDarker);
        colours.crBottom = crTop.darker(SkinColors::kHeldDarker);
    }
    return colours;
}

void PaintFace(QPainter& painter, const QSize& size, const FaceColours& colours, Touch touch)
{
    const QRectF rcFace = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal dRadius = std::min(3.0, size.height() / 5.0);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, colours.crTop);
    gradient.setColorAt(1, colours.crBottom);
    painter.setPen(QPen(colours.crBorder, 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(rcFace, dRadius, dRadius);

    const bool bHeld = touch == Touch::kHeld;
    painter.setPen(QPen(QColor::fromRgba(bHeld ? SkinColors::kBevelShadow : SkinColors::kBevelLight), 1));
    painter.drawLine(QPointF(dRadius, 1.5), QPointF(size.width() - dRadius, 1.5));
}

void PaintLettering(QPainter& painter, const QSize& size, const QString& strText,
                    const FaceColours& colours, Touch touch)
{
    QRect rcText(QPoint(0, 0), size);
    if (touch == Touch::kHeld)
        rcText.translate(0, 1);
    painter.setFont(LetteringFont(strText, size));
    // A faint drop shadow only under light lettering; dark lettering on
    // amber reads better without.
    if (colours.crText.lightness() > 128) {
        painter.setPen(QColor(0, 0, 0, 0x50));
        painter.drawText(rcText.translated(0, 1), Qt::AlignCenter, strText);
    }
    painter.setPen(colours.crText);
    painter.drawText(rcText, Qt::AlignCenter, strText);
}

QPixmap PaintButton(const ButtonImage& image)
{
    const ButtonKind& kind = *image.pKind;
    // Painted at the size it is shown at: the lettering is fitted to it.
    const double dScale = SkinPaintScale();
    const QSize size(static_cast<int>(std::lround(kind.nWidth * dScale)),
                     static_cast<int>(std::lround(kind.nHeight * dScale)));
    const Face& face = image.bPressed ? *kind.pLit : SkinColors::kGraphite;
    const FaceColours colours = ColoursOf(face, image.touch);

    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter painter(&img);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    PaintFace(painter, size, colours, image.touch);
    PaintLettering(painter, size, Lettering(image), colours, image.touch);
    painter.end();
    return QPixmap::fromImage(img);
}

}  // namespace

std::vector<int> SkinButtonBases()
{
    std::vector<int> bases;
    for (const ButtonKind& kind : Kinds())
        for (int i = 0; i < kind.nCount; ++i)
            bases.push_back(kind.nBase + i * kSkinButtonStride);
    return bases;
}

QSize SkinButtonSize(int nBase)
{
    const auto image = Decode(nBase);
    if (!image || SkinButtonBaseOf(nBase) != nBase)
        return {};
    return {image->pKind->nWidth, image->pKind->nHeight};
}

int SkinButtonBaseOf(int nResource)
{
    const auto image = Decode(nResource);
    if (!image)
        return 0;
    return image->pKind->nBase + image->nIndex * kSkinButtonStride;
}

QPixmap PaintSkinButton(int nResource)
{
    const auto image = Decode(nResource);
    return image ? PaintButton(*image) : QPixmap();
}
