#include "platform/StandardDescriptors.h"
#include "render/OutputFile.h"
#include "render/RenderMain.h"

int main(int argc, char* argv[]) {
  tilvera::reserveStandardDescriptors();
  tilvera::removeTemporaryOutputsOnSignal();
  return tilvera::renderMain(argc, argv, stdout, stderr);
}
