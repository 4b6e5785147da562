// The zr470ctl parameters on the live model. Writes go through the model's
// setters (or, for the delay table, the control block and the listening
// position, through the same marks and items the editor's controls use),
// so the change scanner sends them exactly as it sends the editor's edits.
//
// Threads: the user-interface thread, i.e. the thread that pumps the
// session's notifications.
#pragma once

#include <string>

#include "CtlParams.h"

class CKTV_Data;
class CLinkSession;

// The parameter's code as the model holds it now.
int ReadParam(CKTV_Data& data, const ParamRef& ref);
// Empty when nCode may be applied to the model as it is now; otherwise one
// line for the user on why not (nothing is changed then).
std::string CheckParam(CKTV_Data& data, const ParamRef& ref, int nCode);
// Applies a code that ParseParamValue accepted and CheckParam cleared.
void WriteParam(CKTV_Data& data, CLinkSession& session, const ParamRef& ref, int nCode);
