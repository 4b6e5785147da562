#include "ButtonTexts.h"

#include <QCoreApplication>
#include <cstring>

#include "GlobalData.h"

namespace {

struct ButtonText {
    const char* szEnglish;  // Qt's text without its '&' mnemonic
    const char* szChinese;
};

constexpr ButtonText kButtons[] = {
    {"OK", "确定"},    {"Cancel", "取消"}, {"Yes", "是"},     {"No", "否"},     {"Close", "关闭"},
    {"Save", "保存"},  {"Open", "打开"},   {"Apply", "应用"}, {"Abort", "中止"}, {"Retry", "重试"},
    {"Ignore", "忽略"}, {"Help", "帮助"},
};

// The generic theme and the GNOME theme ask for the button texts.
bool IsButtonContext(const char* szContext)
{
    return szContext && (std::strcmp(szContext, "QPlatformTheme") == 0 || std::strcmp(szContext, "QGnomeTheme") == 0);
}

}  // namespace

QString CButtonTexts::translate(const char* szContext, const char* szSource, const char*, int) const
{
    // An empty answer leaves Qt's own (English) text.
    if (!g_bChinese || !szSource || !IsButtonContext(szContext))
        return {};
    const QString strSource = QString::fromUtf8(szSource).remove(QLatin1Char('&'));
    for (const ButtonText& button : kButtons) {
        if (strSource == QLatin1String(button.szEnglish))
            return QString::fromUtf8(button.szChinese);
    }
    return {};
}

void CButtonTexts::Install()
{
    static CButtonTexts s_texts;
    static bool s_bInstalled = false;
    if (!s_bInstalled)
        s_bInstalled = QCoreApplication::installTranslator(&s_texts);
}
