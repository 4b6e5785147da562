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

constexpr TextPair kFormTitle {"ZR-470  Digital Audio Processor", "ZR-470 数字音频处理器"};
constexpr int kHeaderHeight = 22;
constexpr int kHeaderTextPixels = 11;
constexpr int kHeaderTextRight = 14;

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
    return pix;
}

void PaintHeader(QPainter& painter, bool bChinese)
{
    QLinearGradient gradient(0, 0, 0, kHeaderHeight);
    gradient.setColorAt(0, QColor(SkinColors::kHeaderTop));
    gradient.setColorAt(1, QColor(SkinColors::kHeaderBottom));
    painter.fillRect(0, 0, kSkinFormWidth, kHeaderHeight, gradient);
    painter.fillRect(0, kHeaderHeight, kSkinFormWidth, 1, QColor(SkinColors::kHeaderAccent));
    painter.fillRect(0, kHeaderHeight + 1, kSkinFormWidth, 1, QColor(255, 255, 255, 0x90));

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kHeaderTextPixels);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(SkinColors::kHeaderText));
    painter.drawText(QRect(0, 0, kSkinFormWidth - kHeaderTextRight, kHeaderHeight),
                     Qt::AlignRight | Qt::AlignVCenter,
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
