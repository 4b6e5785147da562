// The cache of skin images and the form backgrounds.
#include "SkinFactory.h"

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <unordered_map>

#include "GlobalData.h"
#include "SkinColors.h"
#include "Strings.h"

namespace {

constexpr TextPair kFormTitle {"Digital Audio Processor", "数字音频处理器"};
constexpr int kPlateX = 870;
constexpr int kPlateY = 8;
constexpr int kPlateWidth = 250;
constexpr int kPlateHeight = 48;
constexpr int kPlateTitlePixels = 20;
constexpr int kHeaderTextPixels = 11;

using SkinCache = std::unordered_map<int, QPixmap>;

// Pixmaps must go before the application object does.
SkinCache& Cache()
{
    static SkinCache* pCache = [] {
        qAddPostRoutine([] { Cache().clear(); });
        return new SkinCache;
    }();
    return *pCache;
}

QPixmap PaintAny(int nResource)
{
    QPixmap pix = PaintSkinButton(nResource);
    if (pix.isNull())
        pix = PaintSkinFader(nResource);
    if (pix.isNull())
        pix = PaintSkinForm(nResource);
    if (pix.isNull())
        pix = PaintSkinRoom(nResource);
    return pix;
}

// The brand plate sits at the top of the right-hand column, where the logo
// picture goes when the installer supplies one; the graph fills the left.
void PaintHeader(QPainter& painter, bool bChinese)
{
    const QRect rcPlate(kPlateX, kPlateY, kPlateWidth, kPlateHeight);
    QLinearGradient gradient(rcPlate.topLeft(), rcPlate.bottomLeft());
    gradient.setColorAt(0, QColor(SkinColors::kHeaderTop));
    gradient.setColorAt(1, QColor(SkinColors::kHeaderBottom));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QColor(SkinColors::kHeaderAccent));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(rcPlate).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kPlateTitlePixels);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(SkinColors::kHeaderText));
    painter.drawText(rcPlate.adjusted(12, 4, -8, -kPlateHeight / 2), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("ZR-470"));
    font.setPixelSize(kHeaderTextPixels);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(rcPlate.adjusted(12, kPlateHeight / 2, -8, -4), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(bChinese ? kFormTitle.szChinese : kFormTitle.szEnglish));
}

}  // namespace

const QPixmap& SkinImage(int nResource)
{
    static const QPixmap pixNone;
    SkinCache& cache = Cache();
    if (const auto it = cache.find(nResource); it != cache.end())
        return it->second;
    QPixmap pix = PaintAny(nResource);
    if (pix.isNull())
        return pixNone;
    return cache.emplace(nResource, std::move(pix)).first->second;
}

std::array<int, 6> SkinButtonImages(int nBase)
{
    std::array<int, 6> images {};
    if (SkinButtonSize(nBase).isEmpty())
        return images;
    const int nFirst = nBase + (g_bChinese.load() != 0 ? kSkinButtonImages / 2 : 0);
    for (int i = 0; i < static_cast<int>(images.size()); ++i)
        images[i] = nFirst + i;
    return images;
}

QPixmap PaintSkinForm(int nResource)
{
    if (nResource != kSkinFormEnglish && nResource != kSkinFormChinese)
        return {};
    QImage img(kSkinFormWidth, kSkinFormHeight, QImage::Format_RGB32);
    QPainter painter(&img);
    QLinearGradient gradient(0, 0, 0, kSkinFormHeight);
    gradient.setColorAt(0, QColor(SkinColors::kFormTop));
    gradient.setColorAt(1, QColor(SkinColors::kFormBottom));
    painter.fillRect(img.rect(), gradient);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintHeader(painter, nResource == kSkinFormChinese);
    painter.end();
    return QPixmap::fromImage(img);
}
