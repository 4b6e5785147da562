#include "GlobalData.h"

std::atomic<int> g_bChinese{0};
