// get CH PARAM, set CH PARAM VALUE
#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlJson.h"
#include "NumberText.h"
#include "ParamAccess.h"
#include "ParamTable.h"

namespace {

// CH and PARAM of the arguments; false after printing the refusal.
bool ParseTarget(CtlContext& ctx, ParamRef* pRef)
{
    int nChannel = 0;
    std::string strError;
    if (!ParseChannel(ctx.inv.args[0], &nChannel, &strError) ||
        !ParseParamRef(nChannel, ctx.inv.args[1], pRef, &strError)) {
        Refuse(ctx, strError);
        return false;
    }
    return true;
}

// On/off settings are JSON booleans, as `info` gives them.
Json JsonValue(const ParamText& value)
{
    double dNumber = 0.0;
    if (value.bBoolean)
        return value.strText == "on";
    if (value.bNumber && ParseDecimal(value.strText, &dNumber))
        return JsonExact(dNumber);
    return value.strText;
}

// The value as `get` prints it, read back from the model.
std::string ValueLine(CtlContext& ctx, CProcessor& processor, const ParamRef& ref)
{
    const ParamText value = ScaleOf(ref.kind).format(ReadParam(processor, ref));
    if (!ctx.inv.bJson)
        return value.strText + "\n";
    return JsonLine({{"channel", ref.nChannel}, {"param", ref.strName}, {"value", JsonValue(value)}});
}

}  // namespace

int RunGet(CtlContext& ctx)
{
    ParamRef ref;
    if (!ParseTarget(ctx, &ref))
        return kExitFailed;
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        *pResult = ValueLine(ctx, device.Processor(), ref);
        return kExitOk;
    });
}

int RunSet(CtlContext& ctx)
{
    ParamRef ref;
    int nCode = 0;
    std::string strError;
    if (!ParseTarget(ctx, &ref))
        return kExitFailed;
    if (!ParseParamValue(ref, ctx.inv.args[2], &nCode, &strError))
        return Refuse(ctx, strError);
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        CProcessor& processor = device.Processor();
        const std::string strWhy = CheckParam(processor, ref, nCode);
        if (!strWhy.empty())
            return Refuse(ctx, strWhy);
        const int nLine = ctx.pShared ? ctx.pShared->nLine : 0;
        device.RecordEdit({nLine, std::to_string(ref.nChannel) + " " + ToLower(ref.strName)},
                          [&] { WriteParam(processor, ref, nCode); });
        *pResult = ValueLine(ctx, processor, ref);
        return kExitOk;
    });
}
