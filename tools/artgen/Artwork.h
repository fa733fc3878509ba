#pragma once

#include "Raster.h"

#include <string>
#include <vector>

namespace artgen {

struct ArtworkFile {
    std::string name;
    Bytes bytes;
};

// Every picture and the icon the program is built with, encoded as the files
// that go into its resources.
std::vector<ArtworkFile> MakeArtwork();

} // namespace artgen
