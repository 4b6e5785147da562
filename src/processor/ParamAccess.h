// The zr470ctl parameters on a processor's live model, each one call that
// takes the model lock itself. Writes go through the model's setters (or,
// for the delay table, the control block and the listening position,
// through the same marks and items the editor's controls use), so the
// change scanner sends them exactly as it sends the editor's edits.
//
// Threads: the processor's owning thread, i.e. the thread that pumps its
// session's notifications.
#pragma once

#include <string>

#include "ParamTable.h"

class CProcessor;

// The parameter's code as the model holds it now.
int ReadParam(CProcessor& processor, const ParamRef& ref);
// Empty when nCode may be applied to the model as it is now; otherwise one
// line for the user on why not (nothing is changed then).
std::string CheckParam(CProcessor& processor, const ParamRef& ref, int nCode);
// Applies a code that ParseParamValue accepted and CheckParam cleared.
void WriteParam(CProcessor& processor, const ParamRef& ref, int nCode);
