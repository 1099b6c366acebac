#pragma once
// Sites: each site is a folder of its own with its database and a "param" folder of
// INI files. One site is current at a time; its folder is "Main Data Dir" of Dir.ini,
// and its name is read each time from its dbdef.ini, never kept in a global.
#include <functional>
#include <string>

#include "core/site_name.h"
#include "platform/dao/database.h"

// The current site's database: open from STTA_SiteOpen until STTA_SiteDBClose.
inline dao::Database gDB;

// Checks Dir.ini and the main data folder (ending the program when unusable), then
// sets every parameter-file path and rebuilds the alternate-file links of the folder.
void STTA_IniFileNamesInit();
// Makes a new site from the template database and the current site's definitions,
// filters, groups, targets and last values, and makes it current. The name must
// already be on the site list.
void STTA_SiteCreate(std::string& name, bool keepExtraData, bool skip404, bool removeQuery,
                     bool removeFragment, bool skipNonSearchEngine, bool noAddDataOffer);
// True when the site became current; a missing or unusable folder changes nothing.
bool STTA_SiteSelect(const std::string& name, bool offerAnalysis);
// Builds the site's missing tables, opens gDB and sets the main caption.
void STTA_SiteOpen();
void STTA_SiteDBClose();
// Offers to move the folder of a site (already taken off the list) to recycled/.
void STTA_SiteRemove(const std::string& name);
// Moves every listed site's folder to recycled/ and tells which moved.
void STTA_SitesMoveToRecycled();
// "/1UNINST": offers to move every site away, then opens the uninstall page when one
// is configured.
void STTA_UninstallCleanup();
void STTA_SiteDBOptionsShow(const std::string& name);

namespace shell {

inline const std::string kCaptionSiteSep = " - Current Site DB: ";

// The main window shows the caption STTA_SiteOpen sets; it registers itself here.
void setCaptionSink(std::function<void(const std::string&)> sink);
const std::string& mainCaption();
// A switch to another site offers its analysis through this (the reason given), when
// the caller asks for the offer; the analysis registers itself at start-up.
void setAnalysisOffer(std::function<void(const std::string& reason)> offer);

// Where a folder goes when it is recycled: recycled/ under the program folder, keeping
// the folder's path below the program folder (below the root for a folder elsewhere).
std::string recycledTarget(const std::string& folder);

// Why a name cannot be a site's name, "" when it can: the site's folder takes the name,
// so it must be a plain, visible folder name.
std::string siteNameProblem(const std::string& name);

// The key of lastinstvals.ini [Main] that names the uninstall page; none is shipped.
inline const std::string kUninstallPageKey = "UninstallPage";

}  // namespace shell
