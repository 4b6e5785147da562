// The delay manager's room picture and the faces of its buttons.
#include "SkinRoom.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <utility>

#include "SkinColors.h"
#include "SkinFactory.h"
#include "Strings.h"

namespace SkinRoom {
namespace {

constexpr QRect kRoom(16, 12, 643, 398);
constexpr QPoint kListeningCentre(337, 226);
constexpr int kCaptionHeight = 16;
constexpr int kSpeakerSize = 26;

struct Output {
    const char* szName;
    QPoint speaker;   // centre of the cabinet
    QPoint field;     // top-left of the delay field
};

// Front wall at the top: FL, Center and FR; the surrounds on the side
// walls; the subwoofer against the rear wall.
constexpr std::array<Output, kOutputs> kOutputsAt {{
    {"FL", {52, 56}, {82, 54}},
    {"FR", {623, 56}, {473, 54}},
    {"SL", {44, 262}, {30, 296}},
    {"SR", {631, 262}, {525, 296}},
    {"Center", {337, 42}, {277, 82}},
    {"ULF", {337, 386}, {277, 334}},
}};

constexpr std::array<QPoint, kDelayPositions> kSeats {{{237, 190}, {337, 190}, {437, 190}, {337, 268}}};
constexpr TextId kSeatNames[kDelayPositions] = {kTxtPositionLF, kTxtPositionCF, kTxtPositionRF, kTxtPositionCR};

constexpr std::array<QPoint, kButtons> kButtonsAt {{
    {24, 434}, {24, 434}, {24, 434}, {132, 434}, {240, 434}, {447, 434}, {555, 434}}};

struct ButtonLook {
    TextPair text;
    const SkinColors::Face* pFace;
};

const ButtonLook& LookOf(int nButton)
{
    using namespace SkinColors;
    static const ButtonLook kLooks[kButtons] = {
        {{"Unit: ms", "单位: 毫秒"}, &kTeal},   {{"Unit: inch", "单位: 英寸"}, &kTeal},
        {{"Unit: cm", "单位: 厘米"}, &kTeal},   {{"LOAD", "读取"}, &kGraphite},
        {{"SAVE", "保存"}, &kGraphite},         {{"OK", "确定"}, &kBlue},
        {{"Cancel", "取消"}, &kGraphite},
    };
    return kLooks[nButton];
}

QFont PictureFont(int nPixels, bool bBold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(nPixels);
    font.setBold(bBold);
    return font;
}

QPixmap PaintButtonFace(int nButton, bool bChinese, int nTouch)
{
    const ButtonLook& look = LookOf(nButton);
    QColor crTop(look.pFace->crTop);
    QColor crBottom(look.pFace->crBottom);
    if (nTouch == kHover) {
        crTop = crTop.lighter(SkinColors::kHoverLighter);
        crBottom = crBottom.lighter(SkinColors::kHoverLighter);
    } else if (nTouch == kHeld) {
        std::swap(crTop, crBottom);
        crTop = crTop.darker(SkinColors::kHeldDarker);
        crBottom = crBottom.darker(SkinColors::kHeldDarker);
    }
    QImage img(kButtonSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter painter(&img);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    QLinearGradient gradient(0, 0, 0, kButtonSize.height());
    gradient.setColorAt(0, crTop);
    gradient.setColorAt(1, crBottom);
    painter.setPen(QColor(look.pFace->crBorder));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kButtonSize.width() - 1, kButtonSize.height() - 1), 4, 4);
    painter.setFont(PictureFont(13, true));
    painter.setPen(QColor(look.pFace->crText));
    const QRect rcText = QRect(QPoint(0, nTouch == kHeld ? 1 : 0), kButtonSize);
    painter.drawText(rcText, Qt::AlignCenter,
                     QString::fromUtf8(bChinese ? look.text.szChinese : look.text.szEnglish));
    painter.end();
    return QPixmap::fromImage(img);
}

void PaintFloor(QPainter& painter)
{
    QLinearGradient gradient(kRoom.topLeft(), kRoom.bottomLeft());
    gradient.setColorAt(0, QColor(SkinColors::kPanelTop));
    gradient.setColorAt(1, QColor(SkinColors::kPanelBottom));
    painter.setPen(QPen(QColor(SkinColors::kPanelRim), 2));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(kRoom).adjusted(1, 1, -1, -1), 8, 8);
    // Rings of equal distance around the listening area.
    painter.setBrush(Qt::NoBrush);
    for (int nRadius = 60; nRadius <= 180; nRadius += 60) {
        painter.setPen(QPen(QColor(SkinColors::kSlotRim), 1, Qt::DotLine));
        painter.drawEllipse(QPointF(kListeningCentre), nRadius * 1.6, nRadius);
    }
}

void PaintFrontLabel(QPainter& painter, bool bChinese)
{
    painter.setPen(QColor(SkinColors::kHeaderAccent));
    painter.drawLine(QPoint(150, 22), QPoint(310, 22));
    painter.drawLine(QPoint(364, 22), QPoint(524, 22));
    painter.setFont(PictureFont(11, true));
    painter.setPen(QColor(SkinColors::kHeaderText));
    painter.drawText(QRect(200, 25, 108, 14), Qt::AlignRight | Qt::AlignVCenter,
                     bChinese ? QString::fromUtf8("前方") : QStringLiteral("FRONT"));
}

void PaintSpeaker(QPainter& painter, const Output& output, int nIndex)
{
    painter.setPen(QPen(QColor(SkinColors::kHeaderAccent), 1, Qt::DashLine));
    painter.drawLine(output.speaker, kListeningCentre);
    const QRectF rcCabinet(output.speaker.x() - kSpeakerSize / 2.0, output.speaker.y() - kSpeakerSize / 2.0,
                           kSpeakerSize, kSpeakerSize);
    painter.setPen(QColor(SkinColors::kCapBorder));
    painter.setBrush(QColor(SkinColors::kCapMid));
    painter.drawRoundedRect(rcCabinet, 4, 4);
    painter.setBrush(QColor(SkinColors::kSlotLitBottom));
    painter.drawEllipse(rcCabinet.center(), kSpeakerSize / 3.0, kSpeakerSize / 3.0);
    painter.setBrush(QColor(SkinColors::kSlotLitTop));
    painter.drawEllipse(rcCabinet.center(), kSpeakerSize / 8.0, kSpeakerSize / 8.0);

    const QRect rcCaption(output.field.x(), output.field.y() - kCaptionHeight, kFieldSize.width() + 16,
                          kCaptionHeight);
    painter.setFont(PictureFont(12, true));
    painter.setPen(QColor(SkinColors::kHeaderText));
    painter.drawText(rcCaption, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("CH%1  %2").arg(nIndex + 1).arg(QString::fromLatin1(output.szName)));
}

void PaintSeat(QPainter& painter, int nPosition, bool bChinese)
{
    const QPoint centre = kSeats[nPosition];
    painter.setPen(QColor(SkinColors::kPanelRim));
    painter.setBrush(QColor(SkinColors::kPanelBorder));
    painter.drawRoundedRect(QRectF(centre.x() - 24, centre.y() - 18, 48, 36), 6, 6);
    const TextPair& name = TextOf(kSeatNames[nPosition]);
    QString strName = QString::fromUtf8(bChinese ? name.szChinese : name.szEnglish);
    strName.replace(QStringLiteral("&&"), QStringLiteral("&"));
    painter.setFont(PictureFont(11, false));
    const QRect rcName(centre.x() - 50, centre.y() + 19, 100, 15);
    // A plate under the name keeps the sound lines off its letters.
    const int nNameWidth = painter.fontMetrics().horizontalAdvance(strName) + 8;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(SkinColors::kPanelBottom));
    painter.drawRoundedRect(QRectF(centre.x() - nNameWidth / 2.0, rcName.top(), nNameWidth, rcName.height()), 3, 3);
    painter.setPen(QColor(SkinColors::kTickMajor));
    painter.drawText(rcName, Qt::AlignCenter, strName);
}

QPixmap PaintRoom(bool bChinese)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&img);
    QLinearGradient gradient(0, 0, 0, kHeight);
    gradient.setColorAt(0, QColor(SkinColors::kFormTop));
    gradient.setColorAt(1, QColor(SkinColors::kFormBottom));
    painter.fillRect(img.rect(), gradient);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    PaintFloor(painter);
    PaintFrontLabel(painter, bChinese);
    for (int k = 0; k < kOutputs; ++k)
        PaintSpeaker(painter, kOutputsAt[k], k);
    for (int p = 0; p < kDelayPositions; ++p)
        PaintSeat(painter, p, bChinese);
    painter.end();
    return QPixmap::fromImage(img);
}

}  // namespace

int ButtonImage(int nButton, bool bChinese, int nTouch)
{
    if (nButton < 0 || nButton >= kButtons || nTouch < 0 || nTouch >= kTouches)
        return 0;
    return kSkinRoomButtonFirst + (nButton * 2 + (bChinese ? 1 : 0)) * kTouches + nTouch;
}

int UnitButton(int nUnit)
{
    // The unit faces come in the order of the delay units.
    return nUnit >= kUnitMs && nUnit <= kUnitCm ? nUnit : kUnitMs;
}

QPoint FieldOrigin(int nOutput)
{
    return nOutput >= 0 && nOutput < kOutputs ? kOutputsAt[nOutput].field : QPoint();
}

QPoint SeatCentre(int nPosition)
{
    return nPosition >= 0 && nPosition < kDelayPositions ? kSeats[nPosition] : QPoint();
}

QPoint ButtonOrigin(int nButton)
{
    return nButton >= 0 && nButton < kButtons ? kButtonsAt[nButton] : QPoint();
}

}  // namespace SkinRoom

QPixmap PaintSkinRoom(int nResource)
{
    if (nResource == kSkinRoomEnglish || nResource == kSkinRoomChinese)
        return SkinRoom::PaintRoom(nResource == kSkinRoomChinese);
    const int nImage = nResource - kSkinRoomButtonFirst;
    if (nImage < 0 || nImage >= SkinRoom::kButtons * 2 * SkinRoom::kTouches)
        return {};
    const int nFace = nImage / SkinRoom::kTouches;
    return SkinRoom::PaintButtonFace(nFace / 2, nFace % 2 != 0, nImage % SkinRoom::kTouches);
}
