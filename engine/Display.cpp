// The desktop side of the screen: which monitor, full screen or an ordinary window, how many
// screen pixels each game pixel covers, and the pacing of presents where the display does not
// pace them itself.
#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/Clock.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "engine/VideoInternal.hpp"

namespace qm {
namespace {

// The screen the game's pictures and panels are drawn for: a larger desktop gets whole
// multiples of it rather than more room around the same small pictures.
constexpr int kDesignWidth = 1920;
constexpr int kDesignHeight = 1080;
// The smallest screen the game's panels fit on; a scale never leaves less than this.
constexpr int kSmallestWidth = 320;
constexpr int kSmallestHeight = 200;
constexpr int kLargestScale = 8;
constexpr int kUnknownRefreshHz = 60;

}  // namespace

int ChooseDisplayScale(int width, int height, int requested) {
  if (width <= 0 || height <= 0) return 1;
  int scale = requested >= 1 ? requested : std::min(width / kDesignWidth, height / kDesignHeight);
  scale = std::clamp(scale, 1, kLargestScale);
  while (scale > 1 && (width / scale < kSmallestWidth || height / scale < kSmallestHeight)) --scale;
  return scale;
}

int DisplayScale() {
  return video::ScreenReady() ? video::State().layout.scale : 0;
}

namespace video {
namespace {

// A monitor's whole area on the desktop, and the part of it that ordinary windows may use.
struct Monitor {
  int index = 0;
  SDL_Rect bounds{};
  SDL_Rect usable{};
};

Monitor FindMonitor(const VideoState& s, int wanted) {
  Monitor monitor;
  if (s.headless) {
    monitor.bounds = SDL_Rect{0, 0, s.headlessWidth, s.headlessHeight};
    monitor.usable = monitor.bounds;
    return monitor;
  }
  if (wanted < 0 || wanted >= SDL_GetNumVideoDisplays()) {
    std::fprintf(stderr, "quillmosaica: there is no monitor %d; the game opens on monitor 0\n",
                 wanted);
    wanted = 0;
  }
  monitor.index = wanted;
  SDL_Rect& bounds = monitor.bounds;
  if (SDL_GetDisplayBounds(wanted, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(wanted, &mode) == 0 && mode.w > 0 && mode.h > 0) {
      bounds = SDL_Rect{0, 0, mode.w, mode.h};
    } else {
      bounds = SDL_Rect{0, 0, 1024, 768};
    }
  }
  SDL_Rect& usable = monitor.usable;
  if (SDL_GetDisplayUsableBounds(wanted, &usable) != 0 || usable.w <= 0 || usable.h <= 0) {
    usable = bounds;
  }
  return monitor;
}

// An ordinary window of the asked inner size, frame included within the monitor's usable area.
SDL_Window* OpenOrdinaryWindow(const VideoState& s, const Monitor& monitor, const char* title,
                               const DisplaySettings& settings) {
  int width = std::min(settings.windowWidth, monitor.usable.w);
  int height = std::min(settings.windowHeight, monitor.usable.h);
  const int centred = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(monitor.index));
  SDL_Window* window = SDL_CreateWindow(title, centred, centred, width, height, SDL_WINDOW_SHOWN);
  if (window == nullptr || s.headless) return window;
  // The frame is known once the window manager has framed the window.
  SDL_PumpEvents();
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0) {
    const int fitWidth = std::min(width, monitor.usable.w - left - right);
    const int fitHeight = std::min(height, monitor.usable.h - top - bottom);
    if ((fitWidth != width || fitHeight != height) && fitWidth >= kSmallestWidth &&
        fitHeight >= kSmallestHeight) {
      SDL_SetWindowSize(window, fitWidth, fitHeight);
      SDL_SetWindowPosition(window, centred, centred);
      SDL_PumpEvents();
    }
  }
  return window;
}

int RefreshRateOf(const VideoState& s) {
  if (s.pacingRefreshHz > 0) return s.pacingRefreshHz;
  SDL_DisplayMode mode{};
  const int display = s.window != nullptr ? SDL_GetWindowDisplayIndex(s.window) : s.displayIndex;
  if (SDL_GetCurrentDisplayMode(std::max(display, 0), &mode) == 0 && mode.refresh_rate > 0) {
    return mode.refresh_rate;
  }
  return kUnknownRefreshHz;
}

int64_t SteadyMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

ScreenLayout LayOutScreen(int windowWidth, int windowHeight, int scale, int gameWidth,
                          int gameHeight) {
  ScreenLayout layout;
  layout.scale = std::max(1, scale);
  layout.windowWidth = windowWidth;
  layout.windowHeight = windowHeight;
  layout.offsetX = std::max(0, (windowWidth - gameWidth * layout.scale) / 2);
  layout.offsetY = std::max(0, (windowHeight - gameHeight * layout.scale) / 2);
  return layout;
}

int64_t FramePacer::WaitBeforePresent(int64_t nowUs) {
  if (intervalUs <= 0) {
    started = false;
    return 0;
  }
  if (!started) {
    started = true;
    nextUs = nowUs + intervalUs;
    return 0;
  }
  const int64_t wait = std::min(nextUs - nowUs, intervalUs);
  if (wait > 0) {
    nextUs = nowUs + wait + intervalUs;
    return wait;
  }
  nextUs = -wait < intervalUs ? nextUs + intervalUs : nowUs + intervalUs;
  return 0;
}

bool OpenGameWindow(VideoState& s, const std::string& title) {
  const DisplaySettings& settings = CurrentDisplaySettings();
  const Monitor monitor = FindMonitor(s, settings.displayIndex);
  const std::string name = Cp1252ToUtf8(title);
  if (settings.windowed) {
    s.window = OpenOrdinaryWindow(s, monitor, name.c_str(), settings);
  } else {
    const SDL_Rect& area = monitor.bounds;
    s.window = SDL_CreateWindow(name.c_str(), area.x, area.y, area.w, area.h,
                                SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
  }
  if (s.window == nullptr) return false;
  s.displayIndex = monitor.index;
  int windowWidth = 0;
  int windowHeight = 0;
  SDL_GetWindowSize(s.window, &windowWidth, &windowHeight);
  if (windowWidth <= 0 || windowHeight <= 0) return false;
  const int scale = ChooseDisplayScale(windowWidth, windowHeight, settings.scale);
  s.width = windowWidth / scale;
  s.height = windowHeight / scale;
  s.layout = LayOutScreen(windowWidth, windowHeight, scale, s.width, s.height);
  return true;
}

// SDL 2 learns a monitor's size on X11 when it starts; a later change of the resolution
// (xrandr, the desktop's settings) shows in the root window, which is the monitor when
// there is only one. Asked twice a second at most: each question is a round trip.
bool X11DesktopSize(SDL_Window* window, SDL_Rect& area) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(QM_HAVE_X11)
  static uint32_t lastAsked = 0;
  static SDL_Rect lastArea{};
  const uint32_t now = SDL_GetTicks();
  if (lastArea.w > 0 && now - lastAsked < 500) {
    area = lastArea;
    return true;
  }
  if (SDL_GetNumVideoDisplays() != 1) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  Display* display = info.info.x11.display;
  XWindowAttributes root{};
  if (XGetWindowAttributes(display, DefaultRootWindow(display), &root) == 0) return false;
  if (root.width <= 0 || root.height <= 0) return false;
  lastAsked = now;
  lastArea = SDL_Rect{0, 0, root.width, root.height};
  area = lastArea;
  return true;
#else
  (void)window;
  (void)area;
  return false;
#endif
}

bool DesktopSizeChanged(const VideoState& s, SDL_Rect& area) {
  if (CurrentDisplaySettings().windowed || s.window == nullptr) return false;
  if (s.headless || !X11DesktopSize(s.window, area)) area = FindMonitor(s, s.displayIndex).bounds;
  return area.w != s.layout.windowWidth || area.h != s.layout.windowHeight;
}

bool FitWindowToDesktop(VideoState& s, const SDL_Rect& area) {
  SDL_SetWindowPosition(s.window, area.x, area.y);
  SDL_SetWindowSize(s.window, area.w, area.h);
  int windowWidth = 0;
  int windowHeight = 0;
  SDL_GetWindowSize(s.window, &windowWidth, &windowHeight);
  if (windowWidth <= 0 || windowHeight <= 0) return false;
  const int scale = ChooseDisplayScale(windowWidth, windowHeight, CurrentDisplaySettings().scale);
  s.width = windowWidth / scale;
  s.height = windowHeight / scale;
  s.layout = LayOutScreen(windowWidth, windowHeight, scale, s.width, s.height);
  return true;
}

void ConfigurePacing(VideoState& s) {
  const int64_t refreshUs = 1000000 / std::clamp(RefreshRateOf(s), 24, 1000);
  const int maxFps = CurrentDisplaySettings().maxFps;
  const int64_t capUs = maxFps > 0 ? 1000000 / maxFps : 0;
  if (!s.vsync) {
    s.pacer.intervalUs = std::max(refreshUs, capUs);
  } else if (capUs > refreshUs) {
    s.pacer.intervalUs = capUs;
  } else {
    // The retrace paces presents; this only catches a driver that says so without waiting.
    s.pacer.intervalUs = refreshUs * 9 / 10;
  }
  s.pacer.started = false;
}

void PaceBeforePresent(VideoState& s) {
  const bool virtualClock = VirtualClockInUse();
  // Tests, replays and benchmarks run as fast as they can unless a test asks for pacing.
  if (virtualClock ? !s.pacedUnderVirtualClock : s.headless) {
    s.pacer.started = false;
    return;
  }
  const int64_t now = virtualClock ? int64_t{TickCount()} * 1000 : SteadyMicroseconds();
  const int64_t wait = s.pacer.WaitBeforePresent(now);
  if (wait <= 0) return;
  if (virtualClock) {
    PauseMs(static_cast<int>((wait + 999) / 1000));
  } else {
    std::this_thread::sleep_for(std::chrono::microseconds(wait));
  }
}

bool WindowToGame(const VideoState& s, int windowX, int windowY, int& x, int& y) {
  const ScreenLayout& layout = s.layout;
  const int fromLeft = windowX - layout.offsetX;
  const int fromTop = windowY - layout.offsetY;
  if (fromLeft < 0 || fromTop < 0 || layout.scale < 1) return false;
  x = fromLeft / layout.scale;
  y = fromTop / layout.scale;
  return x < s.width && y < s.height;
}

}  // namespace video
}  // namespace qm
