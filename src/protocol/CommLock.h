// g_csComm serialises the communication thread's transfer cycle with the
// user-interface thread's queuing of command sequences, so the link never
// sees a half-built batch. Take it before g_csModel, never the other way.
#pragma once

#include <mutex>

extern std::recursive_mutex g_csComm;
using CommLock = std::lock_guard<std::recursive_mutex>;
