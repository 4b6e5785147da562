// The document: the one parameter model of the whole run.
#pragma once

#include "KTV_Data.h"

class CQM7100Doc {
public:
    CKTV_Data& Data() { return m_data; }

private:
    CKTV_Data m_data;
};
