// Built-in procedural scenes: pictures rich in fine texture, sharp edges,
// smooth gradients, colour patches and text, so that residuals and code
// tables look like those of real photos.
#pragma once
#include <string>
#include <vector>

#include "image.h"

namespace pcdmake {

// The scene names, e.g. "chart", "city".
const std::vector<std::string>& SceneNames();

// Renders scene name at w x h; the seed varies colours and layout. false for
// an unknown name.
bool RenderScene(const std::string& name, int w, int h, unsigned seed, RgbImage& image);

}  // namespace pcdmake
