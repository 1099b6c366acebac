#pragma once
// The word frequencies of a search-term report window: the users of its terms totalled
// per combination of 1 to 4 words, shown in a list until the user closes it.
class SrchTmLstFrm;

void STTA_WordCombosShow(SrchTmLstFrm& window);
