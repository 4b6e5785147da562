#include "Strings.h"

QString Tr(TextId id)
{
    return QString::fromUtf8(TextNow(id));
}
