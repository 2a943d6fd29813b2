#pragma once
// Naming stored button functions: which row of the standard function table a
// stored pair is, and whether it is the button's own factory function.
#include <string_view>

#include "device/ButtonFunctions.h"

namespace pallix {

class CIcRK44;

// Index into kStandardFunctions, or -1 when the pair matches no row.
int IdentifyFunction(const ButtonFunction& function);
bool IsFactoryFunction(const ButtonFunction& function, int button);
// CLICK: a mouse-button function whose mask is the left button.
bool IsClick(const ButtonFunction& function);
// Index of the function with this name (case does not matter), or -1.
int FindFunctionByName(std::string_view name);

// The pair as the cache holds it (low 8 bits of each entry).
ButtonFunction CachedButtonFunction(const CIcRK44& memory, int profile, int button);

}  // namespace pallix
