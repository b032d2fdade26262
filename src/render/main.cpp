#include "render/OutputFile.h"
#include "render/RenderMain.h"

int main(int argc, char* argv[]) {
  tilvera::removeTemporaryOutputsOnSignal();
  return tilvera::renderMain(argc, argv, stdout, stderr);
}
