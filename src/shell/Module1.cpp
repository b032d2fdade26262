#include "shell/Module1.h"

#include <cmath>
#include <memory>

#include "growth/BranchQueue.h"
#include "growth/Canvas.h"
#include "growth/GrowLevels.h"
#include "growth/Segment.h"
#include "setup/DrawParameters.h"
#include "setup/SetUpTree.h"

namespace tilvera {

namespace {

void seedFromTimeOfDay(GeneratorPorts& ports) {
  ports.random.seed(ports.clock.nanosecondsSinceMidnight());
}

void fixRenderingConstants(GeneratorState& g) {
  g.edgeColor = rgb(50, 100, 50);
  g.trunkColor = 8;  // the plain colour value 8: red 8, nearly black
  g.degToRad = 4 * std::atan(1.0) / 180;
}

// The canvas, the trunk over it, then the levels over the trunk.
void drawTree(GeneratorState& g, GeneratorPorts& ports) {
  prepareCanvas(g, ports.surface, ports.events);
  drawTrunk(g, ports.surface);
  growLevels(g, ports);
}

}  // namespace

void startUp(GeneratorState& g, GeneratorPorts& ports) {
  ports.surface.clearSurface();
  initScreenGeometry(g);
  seedFromTimeOfDay(ports);
  // The only allocation of the run: every tree reuses these rows.
  g.branchQueue.assign(queueRows, PendingBranch{});
  fixRenderingConstants(g);
}

void runTree(GeneratorState& g, GeneratorPorts& ports) {
  // Re-seeded for every tree, so each tree depends on the moment it is begun.
  seedFromTimeOfDay(ports);
  drawParameters(g, ports.random);
  setUpTree(g);
  stepWidth(g);  // the trunk's half-widths
  drawTree(g, ports);
}

void RunGenerator(GeneratorPorts& ports) {
  // Owned for the whole run: the process ends inside the keyboard poll, never here.
  const auto state = std::make_unique<GeneratorState>();
  startUp(*state, ports);
  for (;;) runTree(*state, ports);
}

}  // namespace tilvera
