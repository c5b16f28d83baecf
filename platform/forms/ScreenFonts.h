// The font families of the screen, as the system enumerates them for the default character
// set: in enumeration order, a family repeated once for each of its character sets.
// A value: a fresh list on each call. GUI thread only.
#pragma once
#include <string>
#include <vector>

std::vector<std::string> EnumScreenFontFamilies();
