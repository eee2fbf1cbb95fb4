#include "adlib/mediation/mediation_utilities.h"

#include <array>

#include "adlib/foundation/application.h"
#include "adlib/foundation/configuration.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/click_tracker.h"
#include "adlib/pipeline/request.h"

namespace adlib {

std::string YBXMNoFillTemplate() {
    return YBXAdServerBaseURL() + "/nofill?" +
           "ad_loc=@gw_adlocid@&qdata=@gw_qdata@&js=@gw_sdkver@&session_id=@gw_sessid@&seq_num=@gw_seqnum@&aec=@gw_aec@&adt=@gw_adt@";
}

std::string YBXMImpressionTemplate() {
    return YBXAdServerBaseURL() + "/imp?" +
           "ad_loc=@gw_adlocid@&qdata=@gw_qdata@&ad_network_id=@gw_adnetid@&js=@gw_sdkver@&session_id=@gw_sessid@&seq_num=@gw_seqnum@&nr=@gw_adnetrefresh@&adt=@gw_adt@&aec=@gw_aec@";
}

std::string YBXMClickTemplate() {
    return YBXAdServerBaseURL() + "/clk?" +
           "ad_loc=@gw_adlocid@&qdata=@gw_qdata@&ad_network_id=@gw_adnetid@&js=@gw_sdkver@&session_id=@gw_sessid@&seq_num=@gw_seqnum@&nr=@gw_adnetrefresh@";
}

Ref<NSURL> YBXMMediationURL(const Value& templ, const Value& adLocationID, bool adNetworkRefresh, const Value& allocationID,
                            const Value& adNetworkID, const Value& qData, const Value& sessionID, const Value& sequenceNumber,
                            const Value& exitCodes, const Value& durations) {
    if (!templ.isString()) return nullptr;
    const std::array<YBXTemplateValue, 11> values{{
        {"gw_adlocid", adLocationID},
        {"gw_qdata", qData},
        {"gw_sdkver", Value(YBXRequest::sdkVersion())},
        {"gw_sessid", sessionID},
        {"gw_seqnum", sequenceNumber},
        {"gw_devid", Value("")},
        {"gw_adnetrefresh", Value(adNetworkRefresh ? "1" : "0")},
        {"gw_adnetid", adNetworkID},
        {"gw_allocid", allocationID},
        {"gw_aec", exitCodes},
        {"gw_adt", durations},
    }};
    std::string text = YBXExpandAtQuotedTemplate(templ.string(), values);
    if (text.empty()) return nullptr;
    return NSURL::URLWithString(text);
}

void YBXMTrackMediationURLs(const Value& templates, const Value& defaultTemplate, const Value& networkID, const Value& allocationID,
                            const Value& qData, const Value& appKey, bool refresh, const Value& durations, const Value& exitCodes) {
    Value list = templates.isArray() ? templates : Value::array({defaultTemplate});
    Value data = qData.isNil() ? Value("") : qData;
    YBXApplication* application = YBXApplication::sharedApplication();
    Ref<Object> trackers(YBXClickTrackerCollection::sharedInstance());
    for (const Value& templ : list.array()) {
        if (!templ.isString()) continue;
        Value sequenceNumber(application->nextSequenceNumberAsString());
        Value sessionID(application->currentSession()->sessionIDAsString());
        Ref<NSURL> url = YBXMMediationURL(templ, appKey, refresh, allocationID, networkID, data, sessionID, sequenceNumber, exitCodes, durations);
        if (url) sel::trackURL_(trackers, url.get());
    }
}

Value YBXMTextCredential(id connector, const char* key) {
    const Value credentials = connector ? sel::credentials(connector) : Value();
    const Value& value = credentials[key];
    return value.isString() ? value : Value();
}

void registerMediationUtilities() {
    ClassBuilder<NSObject>("YBXMUtilities", "NSObject")
        .classMethod(sel::mediationURLFrom_adLocationID_adNetworkRefresh_allocationID_adNetworkID_qData_sessionID_sequenceNumber_exitCodes_durations_,
                     [](id, Value templ, Value adLocationID, bool refresh, Value allocationID, Value adNetworkID, Value qData, Value sessionID,
                        Value sequenceNumber, Value exitCodes, Value durations) -> Ref<Object> {
                         return YBXMMediationURL(templ, adLocationID, refresh, allocationID, adNetworkID, qData, sessionID, sequenceNumber,
                                                 exitCodes, durations);
                     });
    if (Class* trackers = objc_getClass("YBXClickTrackerCollection"))
        class_addMethod(trackers->metaclass(),
                        sel::trackMediationURLsFromTemplates_defaultTemplate_networkID_allocationID_qData_appKey_refresh_durations_exitCodes_,
                        [](id, Value templates, Value defaultTemplate, Value networkID, Value allocationID, Value qData, Value appKey, bool refresh,
                           Value durations, Value exitCodes) {
                            YBXMTrackMediationURLs(templates, defaultTemplate, networkID, allocationID, qData, appKey, refresh, durations, exitCodes);
                        });
}

}  // namespace adlib
