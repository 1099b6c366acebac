#include "core/site_name.h"

#include "core/ini_store.h"
#include "core/program_paths.h"

std::string STTA_SiteParmGet() { return INI_Get("Main", "Parm", gIniDbDef, kIniMissingEmpty); }
