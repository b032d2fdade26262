#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/WindowColours.h"
#include "platform/sdl/DisplayLoss.h"
#include "platform/sdl/FramePacer.h"
#include "platform/sdl/KeyTranslation.h"
#include "platform/sdl/PresentGeometry.h"
#include "platform/sdl/X11WindowName.h"

namespace tilvera {

namespace {

constexpr const char* windowTitle =
    "TILVERA. Pulse Q para acabar. Otra para parar. (árboles fractales al azar)";

// SDL falls back to these drivers where it reaches no display; their windows
// exist but nobody can see them, so the program would run on unseen for ever.
bool showsNothing(const char* videoDriver) {
  for (const char* invisible : {"offscreen", "dummy", "evdev"}) {
    if (SDL_strcasecmp(videoDriver, invisible) == 0) return true;
  }
  return false;
}

bool isSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Where libwayland looks for a compositor: an inherited socket, an absolute
// WAYLAND_DISPLAY, or a name inside XDG_RUNTIME_DIR.
bool waylandReachable() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return isSet("WAYLAND_SOCKET") || isSet("XDG_RUNTIME_DIR") ||
         (display != nullptr && display[0] == '/');
}

// SDL's own order of video drivers, without those that show nothing and
// without Wayland where it cannot be reached: trying it anyway makes
// libwayland print its own complaint ahead of the program's one line.
// On failure, `why` holds what SDL said of the first driver that could not
// start, which tells a refused connection from a missing extension.
bool startVideo(std::string& why) {
  const auto tryDriver = [&why] {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    if (why.empty()) why = SDL_GetError();
    return false;
  };
  // An empty SDL_VIDEODRIVER names no driver: SDL would then try every one of
  // its own, the invisible ones included.
  if (const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER); named != nullptr && *named != '\0')
    return tryDriver();
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = SDL_GetVideoDriver(i);
    if (showsNothing(driver)) continue;
    if (SDL_strcasecmp(driver, "wayland") == 0 && !waylandReachable()) continue;
    // Over an empty SDL_VIDEODRIVER, which a plain hint would not override.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver, SDL_HINT_OVERRIDE);
    if (tryDriver()) return true;
  }
  return false;
}

std::string noDisplayReason(const std::string& why) {
  const std::string detail = why.empty() ? "" : ": " + why;
  // A driver the user named is the first suspect, whatever DISPLAY says.
  if (isSet("SDL_VIDEODRIVER"))
    return std::string("no display (the video driver ") + std::getenv("SDL_VIDEODRIVER") +
           " does not start" + detail + ")";
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    if (isSet(variable)) {
      return std::string("no display (cannot connect to ") + variable + "=" +
             std::getenv(variable) + detail + ")";
    }
  }
  return "no display (DISPLAY is not set)";
}

// In step with the display's refresh where a renderer offers it; else any
// renderer, and software as the last resort.
SDL_Renderer* createRenderer(SDL_Window* window) {
  for (Uint32 flags :
       {Uint32{SDL_RENDERER_PRESENTVSYNC}, Uint32{0}, Uint32{SDL_RENDERER_SOFTWARE}}) {
    if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, flags)) return renderer;
  }
  return nullptr;
}

// Where the window system likes, as long as the window fits the screen. On a
// smaller screen SDL would centre it, its top left and title bar off the
// screen and out of reach; there it starts at the screen's top left instead,
// along each axis that does not fit.
SDL_Point startPosition(int width, int height) {
  SDL_Point at{static_cast<int>(SDL_WINDOWPOS_UNDEFINED),
               static_cast<int>(SDL_WINDOWPOS_UNDEFINED)};
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return at;
  if (width > usable.w) at.x = usable.x;
  if (height > usable.h) at.y = usable.y;
  return at;
}

// SDL's software renderer accepts the request to wait for the refresh and
// reports it granted, but it cannot wait: it only copies to the window.
bool waitsForRefresh(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
  return (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 && SDL_strcmp(info.name, "software") != 0;
}

int refreshRateOf(SDL_Window* window) {
  SDL_DisplayMode mode{};
  return SDL_GetWindowDisplayMode(window, &mode) == 0 ? mode.refresh_rate : 0;
}

// Sleeps off what is left of the refresh before a present, if anything.
void keepPace(FramePacer& pacer) {
  using namespace std::chrono;
  const auto now = steady_clock::now().time_since_epoch();
  const auto wait =
      pacer.waitBefore(static_cast<std::uint64_t>(duration_cast<nanoseconds>(now).count()));
  if (wait > 0) std::this_thread::sleep_for(nanoseconds(wait));
}

// Events the window has no use for. Left enabled, each would wake a pause
// only to show the same image again.
void ignoreUnusedEvents() {
  for (Uint32 type :
       {SDL_KEYUP, SDL_TEXTEDITING, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
        SDL_MOUSEWHEEL, SDL_FINGERDOWN, SDL_FINGERUP, SDL_FINGERMOTION}) {
    SDL_EventState(type, SDL_IGNORE);
  }
}

bool asksToClose(const SDL_Event& event) {
  // The close button comes as a window event; SIGINT and SIGTERM, and the
  // last window closing, as a quit event.
  return event.type == SDL_QUIT ||
         (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
}

// Exposures, size changes and moves to another display need nothing here:
// every call that takes events shows the image afterwards, and each showing
// measures the window and the renderer's output afresh.
void take(const SDL_Event& event, SDL_Window* window, LastKey& lastKey, bool& closeRequested) {
  if (const std::optional<char32_t> key = characterFromEvent(event)) lastKey = *key;
  if (!asksToClose(event)) return;
  // A compositor that went away is a failure, not a user's close.
  if (event.type == SDL_QUIT && waylandConnectionBroken(window)) endForLostDisplay();
  closeRequested = true;
}

}  // namespace

struct SdlWindow::Native {
  Native() = default;
  Native(const Native&) = delete;
  Native& operator=(const Native&) = delete;
  ~Native() {
    if (texture != nullptr) SDL_DestroyTexture(texture);
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_Quit();
  }

  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  std::optional<FramePacer> pacer;  // for a renderer that does not wait for the refresh
};

namespace {

// Measured at every present, not only on size and display events: the
// renderer's output can change size without an event of its own, when the
// window moves to a display of another density. Two queries of stored sizes,
// nothing allocated.
PixelRectangle placementNow(SDL_Window* shown, SDL_Renderer* renderer, const Image& image) {
  Extent window{0, 0};
  SDL_GetWindowSize(shown, &window.width, &window.height);
  Extent drawable{0, 0};
  if (SDL_GetRendererOutputSize(renderer, &drawable.width, &drawable.height) != 0) {
    drawable = window;  // no measure of the density: one to one
  }
  return imagePlacement({image.width(), image.height()}, window, drawable);
}

}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::open(const Image& image, std::string* error) {
  const auto fail = [error](std::string reason) {
    if (error != nullptr) *error = std::move(reason);
    return std::unique_ptr<SdlWindow>();
  };
  // Before the first connection: a server that goes away while SDL is still
  // setting up its window is a lost display too, not Xlib's own two lines. The
  // handler is the process's, and harmless where no X connection is made.
  endOnLostDisplay();
  std::string why;
  if (!startVideo(why)) return fail(noDisplayReason(why));
  auto native = std::make_unique<Native>();  // from here on, failing shuts SDL down again
  // A driver the user named may still be one that shows nothing. The display
  // itself may be fine, so the message names the driver, not the display.
  if (const char* driver = SDL_GetCurrentVideoDriver(); showsNothing(driver))
    return fail(std::string("no display (the video driver ") + driver + " shows no window)");

  // The image is 9550 x 6580 twips at 96 dpi, and SDL's window units are
  // 96-dpi points on every display: a window of the image's size in those
  // units keeps that physical size on a high-density display too, where the
  // window system gives it more pixels. The DPI that X reports is not read to
  // size the window: it is often wrong, and on X11 SDL2 hands out no larger
  // drawable anyway.
  const SDL_Point at = startPosition(image.width(), image.height());
  native->window =
      SDL_CreateWindow(windowTitle, at.x, at.y, image.width(), image.height(),
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (native->window == nullptr) return fail(SDL_GetError());
  native->renderer = createRenderer(native->window);
  // SDL's own words ("Couldn't find matching render driver") do not say that
  // the screen is the cause; a screen of 256 colours is the usual one.
  if (native->renderer == nullptr)
    return fail(std::string("cannot draw on this screen (") + SDL_GetError() + ")");
  if (!waitsForRefresh(native->renderer)) native->pacer.emplace(refreshRateOf(native->window));
  // The image's own layout (0x00BBGGRR in memory order of a 32-bit word), so
  // nothing is converted on the way.
  native->texture = SDL_CreateTexture(native->renderer, SDL_PIXELFORMAT_XBGR8888,
                                      SDL_TEXTUREACCESS_STREAMING, image.width(), image.height());
  if (native->texture == nullptr) return fail(SDL_GetError());
  // On a high-density display the 96-dpi image is enlarged block by block, so
  // every pixel stays sharp. Drawing the tree at the higher density instead
  // would not do: branches are filled with fans of one-pixel lines, which at
  // more pixels per unit leave gaps in the fill, and lines made thicker to
  // close them would change the tree's look. Smoothing would blur it.
  if (SDL_SetTextureScaleMode(native->texture, SDL_ScaleModeNearest) != 0) {
    return fail(SDL_GetError());
  }

  // Only now: an OpenGL renderer makes SDL create the X window afresh, and
  // SDL names the new one the old way again.
  nameX11WindowInLatin1(native->window, windowTitle);
  ignoreUnusedEvents();
  SDL_StartTextInput();
  // Shown only once it is complete: created visible, the window would flash
  // up and vanish again as the OpenGL renderer replaces it, and whoever looks
  // for it in that moment (a window manager, a test) would find the one that
  // is about to go.
  SDL_ShowWindow(native->window);
  std::unique_ptr<SdlWindow> opened(new SdlWindow(image, std::move(native)));
  opened->present();
  return opened;
}

SdlWindow::SdlWindow(const Image& image, std::unique_ptr<Native> native)
    : image_(image), native_(std::move(native)) {}

SdlWindow::~SdlWindow() = default;

void SdlWindow::processPendingEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) take(event, native_->window, lastKey, closeRequested_);
  present();
}

void SdlWindow::waitForEvents() {
  SDL_Event event;
  // Blocks on the window system's connection: no timer, no spinning. A signal
  // interrupts the wait, and SDL turns SIGINT and SIGTERM into a quit event.
  if (SDL_WaitEvent(&event)) {
    take(event, native_->window, lastKey, closeRequested_);
  } else if (waylandConnectionBroken(native_->window)) {
    // SDL ends the wait with an error, and no event, when the compositor's
    // connection breaks; waiting again would return at once, for ever.
    endForLostDisplay();
  }
  processPendingEvents();
}

void SdlWindow::endProgram() {
  native_.reset();  // the window closes before the process ends: nothing more is drawn
  std::exit(0);
}

// The whole client area is drawn on every present: after a present the
// renderer's back buffer holds nothing to build on.
void SdlWindow::present() {
  if (native_->pacer) keepPace(*native_->pacer);
  SDL_UpdateTexture(native_->texture, nullptr, image_.data(),
                    image_.width() * static_cast<int>(sizeof(Colour)));
  SDL_SetRenderDrawColor(native_->renderer, redOf(backgroundColor), greenOf(backgroundColor),
                         blueOf(backgroundColor), SDL_ALPHA_OPAQUE);
  SDL_RenderClear(native_->renderer);
  const PixelRectangle placed = placementNow(native_->window, native_->renderer, image_);
  const SDL_Rect topLeft{placed.x, placed.y, placed.width, placed.height};
  SDL_RenderCopy(native_->renderer, native_->texture, nullptr, &topLeft);
  SDL_RenderPresent(native_->renderer);
}

}  // namespace tilvera
