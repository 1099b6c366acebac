#pragma once
// Handing a file to another program: by its association, or by a command line built
// from a user's action template. A template is split into arguments before the file
// name is put in, and programs start without a shell, so no file name can add
// arguments or shell syntax. DDE does not exist here: a DDE action starts the program
// with the file and the user is told once that no DDE message was sent.
#include <string>
#include <vector>

struct DDEDefs {
    std::string Msg, App, Topic, MsgIf;
};

struct TemplateParts {
    std::string program, extraParams, fileNamePart;
    bool dde = false, noQuotes = false, shortName = false, noSpcBefFileNm = false,
         noSpcBetwExeParm = false;
};

// The template "Open/Print/Explore using Windows Association" opens the file by its
// association with the action spec of entry "AcOp"; any other template is built and
// run. The section's settings are read through "::*". True when the action was done.
bool SHELDDE_OpenPrintExplore(std::string& actionTemplate, std::string& section,
                              const std::string& fileName, bool& skipAll);
// Reads "DDE Msg ", "DDE App ", "DDE Topic " and "DDE MsgIf " + the action name of the
// section; missing entries are empty.
void SHELDDE_DDEDefs(const std::string& operation, const std::string& section,
                     const std::string& actionName, std::string& iniFile, DDEDefs& defs);

void SHELDDE_ParseTemplate(const std::string& actionTemplate, TemplateParts& parts);

// The finished command line (as shown to the user) and the argument vector that is
// actually started.
std::string SHELDDE_PrepTemplate(const std::string& actionTemplate, const std::string& fileName,
                                 bool& dde, bool& shortName, std::vector<std::string>& argv);

// %1 (exact case), %L, %D, %S and %2-%4 (the default printer's items) in one pass, so
// that a file name put in is never scanned again.
void SHELDDE_SubstPlaceholders(std::string& text, const std::string& fileName, bool shortName);

bool SHELDDE_DoAction(const std::string& commandLine, const std::vector<std::string>& argv,
                      bool dde, bool shortName, DDEDefs& defs, bool& skipAll);

// The per-file error box: "Next File" returns, "Skip All" sets `skipAll`, "Stop"
// raises error 1066. Nothing is shown once `skipAll` is set.
void SHELDDE_ActionErrMsg(std::string& actionText, int& errNo, std::string& extraText,
                          bool& skipAll);
