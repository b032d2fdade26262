// A small X11 helper for the window tests: reads a window's title and pixels,
// and asks it to close the way a window manager's close button does.
//
//   grab title WINDOW            _NET_WM_NAME as UTF-8
//   grab pixels WINDOW X Y ...   "R G B" for each pixel, one a line
//   grab hash WINDOW [W H]       a hash of the client area, or of its top left W x H
//   grab png WINDOW FILE         the client area as a PNG file
//   grab close WINDOW            a WM_DELETE_WINDOW client message

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Rgb {
  unsigned red, green, blue;
};

[[noreturn]] void die(const std::string& message) {
  std::fprintf(stderr, "grab: %s\n", message.c_str());
  std::exit(2);
}

int onXError(Display* display, XErrorEvent* error) {
  char text[256];
  XGetErrorText(display, error->error_code, text, sizeof text);
  die(std::string("X error: ") + text);
}

unsigned channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long maximum = mask >> shift;
  return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / maximum);
}

// The window's client area as it is on the screen now.
class Screenshot {
 public:
  Screenshot(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) die("no such window");
    image_ =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image_ == nullptr) die("cannot read the window's pixels");
  }
  ~Screenshot() { XDestroyImage(image_); }
  Screenshot(const Screenshot&) = delete;
  Screenshot& operator=(const Screenshot&) = delete;

  int width() const { return image_->width; }
  int height() const { return image_->height; }
  Rgb at(int x, int y) const {
    const unsigned long pixel = XGetPixel(image_, x, y);
    return {channel(pixel, image_->red_mask), channel(pixel, image_->green_mask),
            channel(pixel, image_->blue_mask)};
  }

 private:
  XImage* image_;
};

int printTitle(Display* display, Window window) {
  const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long count, remaining;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, name, 0, 4096, False, utf8, &type, &format, &count,
                         &remaining, &data) != Success ||
      data == nullptr) {
    die("the window has no _NET_WM_NAME");
  }
  std::fwrite(data, 1, count, stdout);
  std::fputc('\n', stdout);
  XFree(data);
  return 0;
}

int printPixels(Display* display, Window window, int count, char** coordinates) {
  if (count % 2 != 0) die("pixels wants pairs of coordinates");
  const Screenshot shot(display, window);
  for (int i = 0; i < count; i += 2) {
    const int x = std::atoi(coordinates[i]), y = std::atoi(coordinates[i + 1]);
    if (x < 0 || y < 0 || x >= shot.width() || y >= shot.height()) die("pixel off the window");
    const Rgb c = shot.at(x, y);
    std::printf("%u %u %u\n", c.red, c.green, c.blue);
  }
  return 0;
}

// FNV-1a over the size and every pixel: equal for equal pictures.
int printHash(Display* display, Window window, int count, char** size) {
  const Screenshot shot(display, window);
  int width = shot.width(), height = shot.height();
  if (count == 2) width = std::atoi(size[0]), height = std::atoi(size[1]);
  if (width > shot.width() || height > shot.height()) die("hash area larger than the window");
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](unsigned value) {
    hash ^= value;
    hash *= 1099511628211ull;
  };
  mix(static_cast<unsigned>(width));
  mix(static_cast<unsigned>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = shot.at(x, y);
      mix(c.red), mix(c.green), mix(c.blue);
    }
  }
  std::printf("%016llx\n", static_cast<unsigned long long>(hash));
  return 0;
}

int writePng(Display* display, Window window, const char* path) {
  const Screenshot shot(display, window);
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) die(std::string("cannot write ") + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) die("libpng failed");
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(shot.width()),
               static_cast<png_uint_32>(shot.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(shot.width()) * 3);
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const Rgb c = shot.at(x, y);
      row[3 * x] = static_cast<png_byte>(c.red);
      row[3 * x + 1] = static_cast<png_byte>(c.green);
      row[3 * x + 2] = static_cast<png_byte>(c.blue);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return 0;
}

// What a window manager sends when the user clicks the close button.
int askToClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  if (!XSendEvent(display, window, False, NoEventMask, &event)) die("cannot send the message");
  XSync(display, False);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) die("usage: grab title|pixels|hash|png|close WINDOW [...]");
  const std::string command = argv[1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) die("cannot open the display");
  XSetErrorHandler(onXError);
  const Window window = static_cast<Window>(std::strtoul(argv[2], nullptr, 0));

  int status = 0;
  if (command == "title") {
    status = printTitle(display, window);
  } else if (command == "pixels") {
    status = printPixels(display, window, argc - 3, argv + 3);
  } else if (command == "hash") {
    status = printHash(display, window, argc - 3, argv + 3);
  } else if (command == "png" && argc == 4) {
    status = writePng(display, window, argv[3]);
  } else if (command == "close") {
    status = askToClose(display, window);
  } else {
    die("unknown command " + command);
  }
  XCloseDisplay(display);
  return status;
}
