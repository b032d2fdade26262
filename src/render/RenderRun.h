#pragma once

#include <cstdio>

#include "render/RenderOptions.h"

namespace tilvera {

// Draws the trees the options ask for on an off-screen image and writes the
// PNG and the trace. Every input and output is checked before the first tree.
// Throws RenderError for a fault the user can mend; warnings go to `diagnostics`.
void runRender(const RenderOptions& options, std::FILE* diagnostics);

}  // namespace tilvera
