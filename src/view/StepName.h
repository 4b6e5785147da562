// The name a step of the edit history shows ("CH3 level", "CH1 band 5
// gain"), in the current language.
#pragma once

#include <QString>

#include "StepSubject.h"

QString StepName(const StepSubject& subject);
