// Every test executable runs headless, whether ctest or a developer starts it: SDL's
// offscreen video, dummy audio and the software renderer, unless the caller chose others.
#include <cstdlib>

namespace {

struct HeadlessEnvironment {
  HeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
  }
};

const HeadlessEnvironment kHeadlessEnvironment;

}  // namespace
