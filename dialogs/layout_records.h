#pragma once
// The two records that the box builder fills and the control layout and button
// placement update. Lengths are twips. The builder resets the fields marked "every
// pass" at the start of each build; the others live for the whole call, so that a
// width forced by the too-tall rule survives into the rebuild.
#include <string>

// The button row.
struct MBButtspec {
    double TopGap = 240;     // every pass: 240 without extra controls, else 120
    double LeftX = 120;      // every pass: Margin
    double LineGap = 120;
    double ButtGap = 120;
    long MaxBpl = 99;        // every pass
    bool AtBottom = false;
    double WidthPad = 180;   // added to the widest caption
    double Margin = 120;
    double MinCaptW = 600;
    // Button numbers between bars, a leading and a trailing one included: "|1|3|".
    std::string BoldButts;
    std::string ItiButts;
    std::string UndrButts;
    long DfltButton = 1;     // every pass
    long EscButton = 0;      // 0: no Cancel button
    long LastButton = 0;     // counted up by the layout and the button placer
    bool ButtsPlaced = false;
    bool WontFit = false;    // every pass
    double FixedWidth = 0;
    bool WidthForced = false;
};

// The layout state of the extra controls.
struct MBLayoutRec {
    double FormW = 0;        // 0: the layout takes the form's width
    double CtlLeft = 120;
    double VGap = 60;
    double RowH = 285;
    bool Show = true;        // false under "No show"
    double NextTop = 0;
    bool FocusSet = false;
    double MaxRight = 0;
};
