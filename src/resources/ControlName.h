// Every control carries its id in its object name, "ctl<ID>", so tests and
// tools find it by the id the forms are laid out with.
#pragma once

#include <QString>

inline QString ControlName(int nId)
{
    return QStringLiteral("ctl%1").arg(nId);
}
