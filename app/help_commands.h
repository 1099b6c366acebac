#pragma once
// Wires the Help menu and F1 to the help window, the help popup and the About box.
class Mainfrm;

void wireHelpCommands(Mainfrm& main);
