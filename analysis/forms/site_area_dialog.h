#pragma once
// The site areas: named sets of pages (section SiteAreas of the site's Siteareas.ini)
// to one of which the analysis can be limited ([Main] ShowOnlySelSiteArea, with the
// area's name in ShowOnlySelSiteAreaParm).
#include "platform/dao/database.h"

// The list of areas, each edited by picking pages of the site's page table. Choosing
// an area (OK) limits the analysis to it and returns 2; leaving the list while the
// analysis is limited asks whether to choose an area or to analyse all areas again.
// Otherwise the list's closing button.
long STTA_SiteAreaSelect(dao::Database& db);
