// zr470ctl's commands call their conversation with the processor "the
// device"; the conversation itself lives in the core, where the venue
// operations and the editor use it too.
#pragma once

#include "ProcessorConversation.h"

using CCtlDevice = CProcessorConversation;
