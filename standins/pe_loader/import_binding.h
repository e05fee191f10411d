#pragma once
// Binds a mapped DLL's imports, by library and name, to the system libraries of the stand-in
// Windows and to the modules registered in it.
#include <string>
#include <vector>

#include "pe_loader/image_mapping.h"

namespace standin::pe {

// Fills every import address slot it can; returns each import it could not bind as
// "LIBRARY!name" (or "LIBRARY!#ordinal"), in the image's order. Empty: all bound.
std::vector<std::string> BindImports(const MappedImage& image);

}  // namespace standin::pe
