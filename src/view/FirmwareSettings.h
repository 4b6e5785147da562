// The one piece of persistent state: the firmware file last chosen and the
// firmware file-dialog pattern (an ini file under the user's config on Linux).
#pragma once

#include <QString>

class CFirmwareSettings {
public:
    // Opens the key; a missing key is created with an empty name and the
    // default pattern. Failures are ignored: the defaults stay in force.
    void Load(const QString& strDefaultPattern);
    void Save() const;

    QString m_strName;
    QString m_strPath;
};
