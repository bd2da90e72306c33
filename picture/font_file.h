// Where the text screen's font is on this machine.
#pragma once

#include <string>

// The file of IPAGothic, the fixed-pitch Japanese face that the terminal's
// "FixedSys" stands for on a Japanese system (tools/wine-prefix.sh makes the
// same substitution). fontconfig is asked first, and its answer is taken only
// when it really is IPAGothic (fc-match always names some font); then the
// place where fonts-ipafont-gothic installs it. Empty when neither is there.
std::string ScreenFontFile();
