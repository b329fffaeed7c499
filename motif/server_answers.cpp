// Answers the toolkit's questions to the X server from memory where the
// answer cannot have changed, and asks several at once where the toolkit
// would ask one at a time. On a display far away every question waits for
// a network round trip, and Motif's start-up alone asks a hundred.
//
// - Extensions: whether the server has one, and its codes, are fixed for a
//   connection. Right after the connection opens, the extensions and atoms
//   the toolkit goes on to ask for are asked for together, in one round
//   trip; the atoms land in Xlib's own cache.
// - Colours: in a colormap of a static visual class (true colour, static
//   colour or static grey) no cell can ever change, so the server's answer
//   for a pixel, or for a colour allocated, is its answer for the rest of
//   the run. Motif asks for the red, green and blue of every colour it
//   draws text in, and derives four shadow and select colours from every
//   background, one allocation each: a background's colours are allocated
//   together with it. Any other colormap is asked every time.
// - Input contexts: while one is made for a window, the input method asks
//   for the window's attributes twice, to take its colormap as the default
//   of the pre-edit and status areas; for a shell of the editor's toolkit
//   the toolkit's record of it answers.
// - Before the toolkit makes a shell's input context (for the shell's first
//   text field) it waits for the X server to catch up with every request
//   (XSync), so that the server knows the shell's window when the input
//   method is told of it. The requests are sent on at once instead (XFlush):
//   the server takes one client's requests in the order they were sent,
//   and an input method hears of the window through the server, after the
//   requests that made it; a local one does not ask the server at all.
// - During start-up, until finish_start_up_answers (before the main loop
//   reads any event, so before any change could be told): the keysyms of
//   single keys, some forty of them, come from the whole keyboard mapping
//   asked for once, the modifier mapping is asked for once, and atoms asked
//   for only if they exist are answered from the one question at the open.
//
// Compiled into each program that links the editor (it replaces Xlib
// functions, which the toolkit calls through the dynamic linker).
#include "motif/server_answers.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/Xlibint.h>
#include <X11/Xutil.h>
#include <Xm/Xm.h>
#include <dlfcn.h>
// Xlibint.h defines min and max as macros, which the standard headers
// cannot bear.
#undef min
#undef max

#include <cstdarg>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "motif/state.h"

namespace {

// ---------------------------------------------------------------------------
// Requests sent together, their 32-byte replies taken as they arrive.

using Take = std::function<void(const char *reply)>;  // nullptr on an error
struct Pending {
  unsigned long sequence;
  Take take;
};

Bool take_reply(Display *dpy, xReply *reply, char *buffer, int length, XPointer data) {
  auto &pending = *reinterpret_cast<std::vector<Pending> *>(data);
  for (Pending &p : pending) {
    if (p.sequence != dpy->last_request_read || !p.take) continue;
    auto take = std::move(p.take);
    p.take = nullptr;
    if (reply->generic.type == X_Error) {
      take(nullptr);
      return True;
    }
    char copy[sizeof(xReply)];
    take(_XGetAsyncReply(dpy, copy, reply, buffer, length, 0, True));
    return True;
  }
  return False;
}

// Sends the requests `send` makes (each returns after one GetReq), then
// waits once for all replies; `finish` may wait instead (a call that waits
// for a reply of its own), else the batch ends with one XSync.
void ask_together(Display *dpy, const std::function<void(std::vector<Pending> &)> &send,
                  const std::function<void()> &finish = nullptr) {
  std::vector<Pending> pending;
  _XAsyncHandler handler;
  LockDisplay(dpy);
  handler.next = dpy->async_handlers;
  handler.handler = take_reply;
  handler.data = reinterpret_cast<XPointer>(&pending);
  dpy->async_handlers = &handler;
  send(pending);
  UnlockDisplay(dpy);
  if (finish) finish();
  bool waiting = false;
  for (const Pending &p : pending) waiting = waiting || p.take;
  if (waiting) XSync(dpy, False);
  LockDisplay(dpy);
  DeqAsyncHandler(dpy, &handler);
  UnlockDisplay(dpy);
  SyncHandle();
}

// Each send_ function first notes what takes the reply (Xlib may read it
// while the request is being sent), then sends the request.
void send_query_extension(Display *dpy, std::vector<Pending> &pending, const std::string &name, Take take) {
  pending.push_back({dpy->request + 1, std::move(take)});
  xQueryExtensionReq *req;
  GetReq(QueryExtension, req);
  req->nbytes = static_cast<CARD16>(name.size());
  req->length += (req->nbytes + 3) >> 2;
  _XSend(dpy, name.c_str(), req->nbytes);
}

void send_intern_atom(Display *dpy, std::vector<Pending> &pending, const std::string &name,
                      bool only_if_exists, Take take) {
  pending.push_back({dpy->request + 1, std::move(take)});
  xInternAtomReq *req;
  GetReq(InternAtom, req);
  req->onlyIfExists = only_if_exists;
  req->nbytes = static_cast<CARD16>(name.size());
  req->length += (req->nbytes + 3) >> 2;
  _XSend(dpy, name.c_str(), req->nbytes);
}

void send_alloc_color(Display *dpy, std::vector<Pending> &pending, Colormap colormap, const XColor &colour,
                      Take take) {
  pending.push_back({dpy->request + 1, std::move(take)});
  xAllocColorReq *req;
  GetReq(AllocColor, req);
  req->cmap = colormap;
  req->red = colour.red;
  req->green = colour.green;
  req->blue = colour.blue;
}

// ---------------------------------------------------------------------------
// What the toolkit asks for once the connection is open

// Extensions Xlib, Xt, Motif and the cursor and font libraries look for.
const char *const kExtensions[] = {"SHAPE", "Generic Event Extension", "RENDER", "XFIXES", "XFree86-Bigfont"};

// Atoms Xt and Motif intern one at a time (Motif's own batch is then
// answered from Xlib's cache too).
const char *const kAtoms[] = {"Custom Init",
                              "Custom Data",
                              "ATOM_PAIR",
                              "AVERAGE_WIDTH",
                              "PIXEL_SIZE",
                              "RESOLUTION_Y",
                              "WM_DELETE_WINDOW",
                              "WM_PROTOCOLS",
                              "WM_STATE",
                              "WM_LOCALE_NAME",
                              "WM_CLIENT_LEADER",
                              "CLIPBOARD",
                              "CLIP_TEMPORARY",
                              "COMPOUND_TEXT",
                              "DELETE",
                              "INCR",
                              "INSERT_SELECTION",
                              "LENGTH",
                              "LINK_SELECTION",
                              "MULTIPLE",
                              "NULL",
                              "TARGETS",
                              "TEXT",
                              "TIMESTAMP",
                              "UTF8_STRING",
                              "UTF-8",
                              "CHARSET_REGISTRY",
                              "ISO8859",
                              "ISO10646",
                              "XmTRANSFER_FAILURE",
                              "XmTRANSFER_SUCCESS",
                              "_MOTIF_ATOM_0",
                              "_MOTIF_BINDINGS",
                              "_MOTIF_DEFAULT_BINDINGS",
                              "_MOTIF_CLIP_DATA_DELETE",
                              "_MOTIF_CLIP_DATA_REQUEST",
                              "_MOTIF_CLIP_HEADER",
                              "_MOTIF_CLIP_LOCK_ACCESS_VALID",
                              "_MOTIF_CLIP_MESSAGE",
                              "_MOTIF_CLIP_NEXT_ID",
                              "_MOTIF_CLIP_TIME",
                              "_MOTIF_CLIPBOARD_TARGETS",
                              "_MOTIF_DEFERRED_CLIPBOARD_TARGETS",
                              "_MOTIF_DESTINATION",
                              "_MOTIF_DRAG_ATOMS",
                              "_MOTIF_DRAG_INITIATOR_INFO",
                              "_MOTIF_DRAG_OFFSET",
                              "_MOTIF_DRAG_PROXY_WINDOW",
                              "_MOTIF_DRAG_RECEIVER_INFO",
                              "_MOTIF_DRAG_TARGETS",
                              "_MOTIF_DRAG_WINDOW",
                              "_MOTIF_DROP",
                              "_MOTIF_EXPORT_TARGETS",
                              "_MOTIF_LOSE_SELECTION",
                              "_MOTIF_WM_HINTS",
                              "_MOTIF_WM_INFO",
                              "_MOTIF_WM_MENU",
                              "_MOTIF_WM_MESSAGES",
                              "_MOTIF_WM_OFFSET"};

// Atoms asked for only if they exist (screen resources, Motif's colour
// server, the colour management of Xlib); asking creates none of them.
const char *const kAtomsIfTheyExist[] = {"SCREEN_RESOURCES", "Pixel Sets", "XDCCC_LINEAR_RGB_CORRECTION",
                                         "XDCCC_LINEAR_RGB_MATRICES"};

struct Extension {
  Bool present;
  int opcode, event, error;
};

using ExtensionKey = std::pair<Display *, std::string>;
std::map<ExtensionKey, Extension> extensions;

bool start_up = true;
using AtomKey = std::pair<Display *, std::string>;
std::map<AtomKey, Atom> atoms_if_they_exist;

void ask_at_open(Display *dpy) {
  std::vector<std::string> texts(std::begin(kAtoms), std::end(kAtoms));
  for (int screen = 0; screen < ScreenCount(dpy); ++screen)
    texts.push_back("Customize Data:" + std::to_string(screen));  // Motif's colour server, per screen
  std::vector<char *> names;
  for (std::string &text : texts) names.push_back(&text[0]);
  std::vector<Atom> atoms(names.size());
  ask_together(
      dpy,
      [&](std::vector<Pending> &pending) {
        for (const char *name : kExtensions)
          send_query_extension(dpy, pending, name, [dpy, name](const char *reply) {
            if (!reply) return;
            auto *r = reinterpret_cast<const xQueryExtensionReply *>(reply);
            extensions[{dpy, name}] = {r->present, r->major_opcode, r->first_event, r->first_error};
          });
        for (const char *name : kAtomsIfTheyExist)
          send_intern_atom(dpy, pending, name, true, [dpy, name](const char *reply) {
            if (reply)
              atoms_if_they_exist[{dpy, name}] = reinterpret_cast<const xInternAtomReply *>(reply)->atom;
          });
      },
      [&] { XInternAtoms(dpy, names.data(), static_cast<int>(names.size()), False, atoms.data()); });
}

// ---------------------------------------------------------------------------
// Keyboard

struct Keyboard {
  int first = 0, count = 0, per_keycode = 0;
  std::vector<KeySym> keysyms;
  std::vector<KeyCode> modifiers;  // the modifier mapping, when asked once
  int keys_per_modifier = 0;
};
std::map<Display *, Keyboard> keyboards;

// ---------------------------------------------------------------------------
// Colours

// Whether `colormap` is the default colormap of a screen whose default
// visual has read-only cells; its visual then.
Visual *static_visual(Display *display, Colormap colormap) {
  for (int screen = 0; screen < ScreenCount(display); ++screen) {
    if (DefaultColormap(display, screen) != colormap) continue;
    Visual *visual = DefaultVisual(display, screen);
    int visual_class = visual->c_class;
    return visual_class == TrueColor || visual_class == StaticColor || visual_class == StaticGray ? visual
                                                                                                  : nullptr;
  }
  return nullptr;
}

bool derive_shadows = false;  // Motif has set up its display

using PixelKey = std::tuple<Display *, Colormap, unsigned long>;
std::map<PixelKey, XColor> pixels;  // what XQueryColor answers
using ColourKey = std::tuple<Display *, Colormap, unsigned short, unsigned short, unsigned short>;
std::map<ColourKey, XColor> allocated;  // what XAllocColor answers for the colour asked

ColourKey colour_key(Display *display, Colormap colormap, const XColor &colour) {
  return {display, colormap, colour.red, colour.green, colour.blue};
}

// The colour a true colour visual shows for `colour`: each component cut to
// the bits of its mask and spread over 16 bits again.
XColor shown_colour(const Visual *visual, XColor colour) {
  auto cut = [](unsigned short value, unsigned long mask) {
    int bits = 0;
    for (; mask; mask >>= 1) bits += mask & 1;
    if (bits <= 0 || bits >= 16) return value;
    unsigned long top = value >> (16 - bits), most = (1ul << bits) - 1;
    return static_cast<unsigned short>(top * 65535 / most);
  };
  colour.red = cut(colour.red, visual->red_mask);
  colour.green = cut(colour.green, visual->green_mask);
  colour.blue = cut(colour.blue, visual->blue_mask);
  return colour;
}

// The four colours Motif derives from `background` (as the visual shows
// it) when it is a background, on a true colour visual, less those
// allocated already.
std::vector<XColor> derived_colours(Display *display, Colormap colormap, const Visual *visual,
                                    XColor background) {
  std::vector<XColor> colours;
  if (!derive_shadows || visual->c_class != TrueColor) return colours;
  XColor derived[4];
  for (XColor &d : derived) d = background;
  XmGetColorCalculation()(&background, &derived[0], &derived[1], &derived[2], &derived[3]);
  for (const XColor &d : derived)
    if (!allocated.count(colour_key(display, colormap, d))) colours.push_back(d);
  return colours;
}

// Allocates `wanted` in one round trip, and keeps the answers.
void allocate_together(Display *display, Colormap colormap, const std::vector<XColor> &wanted) {
  ask_together(display, [&](std::vector<Pending> &pending) {
    for (const XColor &w : wanted)
      send_alloc_color(display, pending, colormap, w, [=](const char *reply) {
        if (!reply) return;
        auto *r = reinterpret_cast<const xAllocColorReply *>(reply);
        XColor answer = w;
        answer.pixel = r->pixel;
        answer.red = r->red;
        answer.green = r->green;
        answer.blue = r->blue;
        allocated[colour_key(display, colormap, w)] = answer;
        pixels[{display, colormap, answer.pixel}] = answer;
      });
  });
}

// ---------------------------------------------------------------------------
// Input contexts

int making_input_context = 0;
int setting_input_method_values = 0;

constexpr size_t kArgumentPairs = 32;  // more than any caller of XCreateIC passes

template <typename Function, size_t... I>
XIC pass_on(Function real, XIM im, void *const *arguments, std::index_sequence<I...>) {
  return real(im, arguments[I]..., nullptr);
}

// What the input method reads of a shell window while it makes an input
// context for it: its colormap (the attributes the toolkit knows are given
// too).
void shell_attributes(Widget shell, XWindowAttributes *attributes) {
  *attributes = XWindowAttributes{};
  attributes->x = shell->core.x;
  attributes->y = shell->core.y;
  attributes->width = shell->core.width;
  attributes->height = shell->core.height;
  attributes->border_width = shell->core.border_width;
  attributes->depth = shell->core.depth;
  attributes->screen = XtScreen(shell);
  attributes->root = RootWindowOfScreen(XtScreen(shell));
  Visual *visual = reinterpret_cast<ShellWidget>(shell)->shell.visual;
  attributes->visual = visual ? visual : DefaultVisualOfScreen(XtScreen(shell));
  attributes->c_class = InputOutput;
  attributes->colormap = shell->core.colormap;
  attributes->map_state = IsUnmapped;
  attributes->your_event_mask = attributes->all_event_masks = XtBuildEventMask(shell);
}

// A new connection at the address of a closed one starts with no answers.
void forget(Display *display) {
  auto of_display = [display](const auto &entry) { return std::get<0>(entry.first) == display; };
  auto erase_if = [&](auto &map) {
    for (auto it = map.begin(); it != map.end();) it = of_display(*it) ? map.erase(it) : std::next(it);
  };
  erase_if(extensions);
  erase_if(atoms_if_they_exist);
  erase_if(pixels);
  erase_if(allocated);
  keyboards.erase(display);
}

}  // namespace

void allocate_shadow_colours_together(void) { derive_shadows = true; }

void finish_start_up_answers(void) {
  start_up = false;
  atoms_if_they_exist.clear();
  keyboards.clear();
}

extern "C" XIC XCreateIC(XIM im, ...) {
  static auto real = xlib<XIC (*)(XIM, ...)>("XCreateIC");
  // Name and value pairs, ended by a null name, passed on as they came.
  void *arguments[2 * kArgumentPairs] = {};
  va_list list;
  va_start(list, im);
  size_t pairs = 0;
  for (; pairs < kArgumentPairs; ++pairs) {
    void *name = va_arg(list, void *);
    if (!name) break;
    arguments[2 * pairs] = name;
    arguments[2 * pairs + 1] = va_arg(list, void *);
  }
  bool too_many = pairs == kArgumentPairs && va_arg(list, void *) != nullptr;
  va_end(list);
  if (too_many) return nullptr;
  ++making_input_context;
  XIC context = pass_on(real, im, arguments, std::make_index_sequence<2 * kArgumentPairs>());
  --making_input_context;
  return context;
}

extern "C" void XmImSetValues(Widget w, ArgList arguments, Cardinal count) {
  static auto real = xlib<void (*)(Widget, ArgList, Cardinal)>("XmImSetValues");
  ++setting_input_method_values;
  real(w, arguments, count);
  --setting_input_method_values;
}

extern "C" int XSync(Display *display, Bool discard) {
  static auto real = xlib<int (*)(Display *, Bool)>("XSync");
  if (setting_input_method_values && !discard) return XFlush(display);
  return real(display, discard);
}

extern "C" Status XGetWindowAttributes(Display *display, Window window, XWindowAttributes *attributes) {
  static auto real = xlib<Status (*)(Display *, Window, XWindowAttributes *)>("XGetWindowAttributes");
  if (making_input_context && display && display == main_display) {
    Widget w = XtWindowToWidget(display, window);
    if (w && XtIsShell(w)) {
      shell_attributes(w, attributes);
      return 1;
    }
  }
  return real(display, window, attributes);
}

extern "C" Display *XOpenDisplay(const char *name) {
  static auto real = xlib<Display *(*)(const char *)>("XOpenDisplay");
  Display *display = real(name);
  if (display) {
    forget(display);
    ask_at_open(display);
  }
  return display;
}

extern "C" Bool XQueryExtension(Display *display, const char *name, int *opcode, int *event, int *error) {
  static auto real = xlib<Bool (*)(Display *, const char *, int *, int *, int *)>("XQueryExtension");
  auto found = extensions.find({display, name});
  if (found == extensions.end()) {
    Extension e{};
    e.present = real(display, name, &e.opcode, &e.event, &e.error);
    found = extensions.emplace(ExtensionKey{display, name}, e).first;
  }
  *opcode = found->second.opcode;
  *event = found->second.event;
  *error = found->second.error;
  return found->second.present;
}

extern "C" Atom XInternAtom(Display *display, const char *name, Bool only_if_exists) {
  static auto real = xlib<Atom (*)(Display *, const char *, Bool)>("XInternAtom");
  if (start_up && only_if_exists) {
    auto found = atoms_if_they_exist.find({display, name});
    if (found != atoms_if_they_exist.end()) return found->second;
  }
  return real(display, name, only_if_exists);
}

extern "C" KeySym *XGetKeyboardMapping(Display *display, KeyCode first, int count, int *per_keycode) {
  static auto real = xlib<KeySym *(*)(Display *, KeyCode, int, int *)>("XGetKeyboardMapping");
  if (!start_up || count <= 0) return real(display, first, count, per_keycode);
  Keyboard &k = keyboards[display];
  if (first < k.first || first + count > k.first + k.count) {
    int min_keycode = 0, max_keycode = 0, per = 0;
    XDisplayKeycodes(display, &min_keycode, &max_keycode);
    KeySym *all = real(display, static_cast<KeyCode>(min_keycode), max_keycode - min_keycode + 1, &per);
    if (!all) return real(display, first, count, per_keycode);
    k.first = min_keycode;
    k.count = max_keycode - min_keycode + 1;
    k.per_keycode = per;
    k.keysyms.assign(all, all + k.count * per);
    XFree(all);
    if (first < k.first || first + count > k.first + k.count) return real(display, first, count, per_keycode);
  }
  size_t size = static_cast<size_t>(count) * k.per_keycode;
  auto *keysyms = static_cast<KeySym *>(Xmalloc(size * sizeof(KeySym)));
  if (!keysyms) return nullptr;
  std::memcpy(keysyms, k.keysyms.data() + static_cast<size_t>(first - k.first) * k.per_keycode,
              size * sizeof(KeySym));
  *per_keycode = k.per_keycode;
  return keysyms;
}

extern "C" XModifierKeymap *XGetModifierMapping(Display *display) {
  static auto real = xlib<XModifierKeymap *(*)(Display *)>("XGetModifierMapping");
  if (!start_up) return real(display);
  Keyboard &k = keyboards[display];
  if (k.keys_per_modifier == 0) {
    XModifierKeymap *map = real(display);
    if (!map) return nullptr;
    k.keys_per_modifier = map->max_keypermod;
    k.modifiers.assign(map->modifiermap, map->modifiermap + 8 * map->max_keypermod);
    return map;
  }
  XModifierKeymap *map = XNewModifiermap(k.keys_per_modifier);
  if (map) std::memcpy(map->modifiermap, k.modifiers.data(), k.modifiers.size());
  return map;
}

extern "C" int XQueryColor(Display *display, Colormap colormap, XColor *colour) {
  static auto real = xlib<int (*)(Display *, Colormap, XColor *)>("XQueryColor");
  if (!static_visual(display, colormap)) return real(display, colormap, colour);
  PixelKey key{display, colormap, colour->pixel};
  auto found = pixels.find(key);
  if (found != pixels.end()) {
    *colour = found->second;
    return 1;
  }
  int status = real(display, colormap, colour);
  pixels[key] = *colour;
  return status;
}

extern "C" int XQueryColors(Display *display, Colormap colormap, XColor *colours, int count) {
  static auto real = xlib<int (*)(Display *, Colormap, XColor *, int)>("XQueryColors");
  if (!static_visual(display, colormap)) return real(display, colormap, colours, count);
  bool known = true;
  for (int i = 0; i < count && known; ++i) known = pixels.count({display, colormap, colours[i].pixel}) != 0;
  if (!known) {
    int status = real(display, colormap, colours, count);
    for (int i = 0; i < count; ++i) pixels[{display, colormap, colours[i].pixel}] = colours[i];
    return status;
  }
  for (int i = 0; i < count; ++i) colours[i] = pixels[{display, colormap, colours[i].pixel}];
  return 1;
}

extern "C" Status XAllocColor(Display *display, Colormap colormap, XColor *colour) {
  static auto real = xlib<Status (*)(Display *, Colormap, XColor *)>("XAllocColor");
  const Visual *visual = static_visual(display, colormap);
  if (!visual) return real(display, colormap, colour);
  ColourKey key = colour_key(display, colormap, *colour);
  if (!allocated.count(key)) {
    // Its shadow colours are likely asked for next, if it is a background.
    std::vector<XColor> wanted = derived_colours(display, colormap, visual, shown_colour(visual, *colour));
    wanted.insert(wanted.begin(), *colour);
    allocate_together(display, colormap, wanted);
  }
  auto found = allocated.find(key);
  if (found == allocated.end()) return real(display, colormap, colour);
  colour->pixel = found->second.pixel;
  colour->red = found->second.red;
  colour->green = found->second.green;
  colour->blue = found->second.blue;
  return 1;
}

extern "C" Status XAllocNamedColor(Display *display, Colormap colormap, const char *name, XColor *shown,
                                   XColor *exact) {
  static auto real =
      xlib<Status (*)(Display *, Colormap, const char *, XColor *, XColor *)>("XAllocNamedColor");
  Status status = real(display, colormap, name, shown, exact);
  const Visual *visual = static_visual(display, colormap);
  if (!status || !visual) return status;
  pixels[{display, colormap, shown->pixel}] = *shown;
  std::vector<XColor> derived = derived_colours(display, colormap, visual, *shown);
  if (!derived.empty()) allocate_together(display, colormap, derived);
  return status;
}
