#include "logimport/read_record.h"

#include "core/delimited_lists.h"
#include "core/text.h"
#include "logimport/log_format.h"

void STTA_NotFoundListReset(ReadRec& rec) {
    rec.ListedNames.redim(0, 0);
    // The counts go with the names: counts left from the last read would be added to.
    rec.ListedCounts.redim(0, 0);
    if (rec.Keep404List) {
        rec.ListedStatus = 404;
        rec.ListedNames.set(0, "404");
    } else {
        rec.ListedStatus = 0;
    }
}

std::string STTA_FltrSetText(const FltrSet& set, const std::string& kind) {
    if (!set.Active) return "No";
    return "Yes - " + std::to_string(FLTR_RuleUBound(set.Rules)) + " " + kind + " filters. " +
           "Log line " + (set.Negate ? "loaded" : "skipped") + " when satisfy " +
           (set.Any ? "any" : "all") + ".";
}

std::string STTA_FltrChoiceText(const std::string& fileSpec, const ReadRec& rec) {
    return "File Spec: " + fileSpec + gCRCR + "Add Only/Except Filtered: " +
           STTA_FltrSetText(rec.MainSet, "") + gCR + "Skip robots n crawlers: " +
           STTA_FltrSetText(rec.RobotSet, "user agent") + gCR + "Skip page components: " +
           STTA_FltrSetText(rec.CompSet, "page component");
}

void STTA_FltrColTypeCaptions(core::StrArray& captions) {
    CHUNKS_Split(kFltrColTypeCaptions, captions, 0);
}

std::string STTA_LogFieldCaption(long fieldNo) {
    if (fieldNo < 0 || fieldNo > kLogFmtTokenCount) return {};
    return LogFmtFieldCaption(static_cast<int>(fieldNo));
}

void STTA_TestReadInit(const std::string& logFileSpec, TestReadRec& test, bool listUserAgents,
                       bool checkReferrers, bool tallyRobotRejects, long fieldNo) {
    test.LogFileSpec = logFileSpec;
    test.Active = true;
    test.ListUserAgents = listUserAgents;
    test.CheckReferrers = checkReferrers;
    test.TallyRobotRejects = tallyRobotRejects;
    test.ListFieldValues = fieldNo != -1;
    test.FieldNo = fieldNo;
    for (core::StrArray* a : {&test.UserAgents, &test.Referrers, &test.FieldValues, &test.RobotRejectAgents})
        a->redim(0, 0);
    for (core::LngArray* a : {&test.UserAgentCounts, &test.ReferrerCounts, &test.FieldValueCounts,
                              &test.RobotRejectCounts})
        a->redim(0, 0);
}
