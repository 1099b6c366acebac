#pragma once
// The analyses of one program run. Each finished analysis is kept in a data form with
// its own copy of the results record, so that later reports are made from it without
// reading the database again; only one record is current at a time (gResults), and a
// form swaps its copy in when a report, plot or summary needs it.
#include <memory>
#include <string>
#include <vector>

#include "analysis/results.h"

struct ReportTable;

class Ifrm {
public:
    explicit Ifrm(std::string tag) : tag_(std::move(tag)) {}

    const std::string& Tag() const { return tag_; }
    // Takes a copy of gResults.
    void PutSrchTrmdata();
    // Makes this form's record the current one, unless it already is (or when forced);
    // a record copied in has its deviation part worked out afresh.
    void GetSrchTrmData(bool force = false) const;
    // How the analysis was made, over several lines.
    std::string GetDataDesc() const;

    std::string SiteDBName() const { return data_.SiteDBName; }
    std::string Analyzed_Field() const { return std::to_string(data_.Analyzed_Field); }
    bool ValIsGroupedRep() const { return data_.AnalOpts.ValIsGroupedRep; }
    std::string pSvCustomRepParms() const { return data_.pSvCustomRepParms; }
    const STTA_Results& data() const { return data_; }

private:
    std::string tag_;
    STTA_Results data_;
};

using IfrmPtr = std::shared_ptr<Ifrm>;

// The data forms of the run, oldest first. Forms get their keys from a counter, so two
// analyses in the same second still have keys of their own.
class DataForms {
public:
    // A new form holding a copy of gResults; its key becomes gResultsIfrmKey.
    IfrmPtr STTA_IfrmShow();
    // The forms of a site and kind, oldest first (kind 10 also matches on the saved
    // custom parameters, which are always empty).
    std::vector<IfrmPtr> STTA_PrevAnalysesFind(long kind, const std::string& site) const;
    void STTA_PrevAnalysesAdd(long kind, const std::string& site, std::vector<IfrmPtr>& forms) const;
    void unload(const IfrmPtr& form);
    std::size_t size() const { return forms_.size(); }

private:
    std::vector<IfrmPtr> forms_;
    long counter_ = 0;
};

// One line per form: its description with " ^ " between the lines, optionally after
// the report title.
std::vector<std::string> STTA_PrevAnalysisDescs(const std::vector<IfrmPtr>& forms, bool withTitle);
// A report window's description of its analysis: the label beside the grid ("Site: "
// and the analysis's description) and the end of the window caption (the description
// on one line).
void STTA_ReportDescSet(const Ifrm& form, ReportTable& table, std::string& caption);
// The summary box of a record: visits of the whole period and of its last 30 days, of
// the selected values and of the first four targets.
std::string STTA_ResultsSummaryText(const STTA_Results& results);
