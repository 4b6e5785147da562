// The text table (TextTable.h) for the widgets: Tr() words a text as a
// QString in the language of g_bChinese at the moment it is shown, so a
// message always follows the current language.
#pragma once

#include <QString>

#include "TextTable.h"

QString Tr(TextId id);
