#include "FirmwareSettings.h"

#include <QSettings>

void CFirmwareSettings::Load(const QString& strDefaultPattern)
{
    QSettings settings("ZR_470.exe", "DspMcu");
    if (!settings.contains("Name") || !settings.contains("Path")) {
        m_strName.clear();
        m_strPath = strDefaultPattern;
        Save();
        return;
    }
    m_strName = settings.value("Name").toString().left(300);
    m_strPath = settings.value("Path").toString().left(260);
}

void CFirmwareSettings::Save() const
{
    QSettings settings("ZR_470.exe", "DspMcu");
    settings.setValue("Name", m_strName);
    settings.setValue("Path", m_strPath);
}
