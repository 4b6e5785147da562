// The cache of skin images and the form backgrounds.
#include "SkinFactory.h"

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>
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

// Keyed by resource number and scale in thousandths.
using SkinCache = std::unordered_map<long long, QPixmap>;
constexpr long long kScaleSteps = 1000;
double g_dPaintScale = 1.0;

long long CacheKey(int nResource, double dScale)
{
    return static_cast<long long>(nResource) * (kScaleSteps + 1) + std::llround(dScale * kScaleSteps);
}

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
    if (pix.isNull() && SkinPaintScale() == 1.0)
        pix = PaintSkinForm(nResource);
    if (pix.isNull() && SkinPaintScale() == 1.0)
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

const QPixmap& SkinImage(int nResource, double dScale)
{
    static const QPixmap pixNone;
    if (!(dScale > 0.0 && dScale <= 1.0))
        return pixNone;
    SkinCache& cache = Cache();
    const long long nKey = CacheKey(nResource, dScale);
    if (const auto it = cache.find(nKey); it != cache.end())
        return it->second;
    g_dPaintScale = dScale;
    QPixmap pix = PaintAny(nResource);
    g_dPaintScale = 1.0;
    if (pix.isNull())
        return pixNone;
    return cache.emplace(nKey, std::move(pix)).first->second;
}

double SkinPaintScale()
{
    return g_dPaintScale;
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
    return PaintFormBackground(nResource == kSkinFormChinese, QSize(kSkinFormWidth, kSkinFormHeight), 1.0, 0);
}

QPixmap PaintFormBackground(bool bChinese, const QSize& size, double dScale, int nPlateShift)
{
    if (size.isEmpty() || !(dScale > 0.0))
        return {};
    QImage img(size, QImage::Format_RGB32);
    QPainter painter(&img);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(SkinColors::kFormTop));
    gradient.setColorAt(1, QColor(SkinColors::kFormBottom));
    painter.fillRect(img.rect(), gradient);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(dScale, dScale);
    painter.translate(nPlateShift, 0);
    PaintHeader(painter, bChinese);
    painter.end();
    return QPixmap::fromImage(img);
}
