// Output device records: limits and factory values, which follow the device
// type. Every type-specific part is described for every type (each part has
// bytes of its own); the type decides the common fields' limits.
#define SITELIB_SCHEMA_TABLES
#include "sitelib/schema.h"

namespace {
// Limits of the common fields for one device type.
struct TypeLimits {
  int type;
  const char *alias;  // factory menu alias
  double skip_min;    // s between two outputs
  double skip_max;
  double skip_factory;
};

const TypeLimits kTypes[] = {
    // type            alias       min    max     factory
    {DEVICE_WINDOW, "Display", 0, 3600, 0},
    {DEVICE_NETWORK, "Network", 0, 43200, 0},
    {DEVICE_ARCHIVE, "Archive", 0, 43200, 0},
    {DEVICE_PRINTER, "Printer", 60, 43200, 300},  // a printer is not flooded
    {DEVICE_UNUSED, "", 0, 43200, 0},
};

const TypeLimits &limits_of(int type) {
  for (const TypeLimits &t : kTypes)
    if (t.type == type) return t;
  return kTypes[4];  // unknown types: as an unused device
}

void window(SchemaBuilder &b, const device_window &el, const std::string &at) {
  b.number(E(iwidth), 100, 4096, 720);  // pixels
  b.number(E(iheight), 100, 4096, 720);
  b.number(E(ixpos), -4096, 8192, 0);
  b.number(E(iypos), -4096, 8192, 0);
  b.number(E(imoviecnt), 1, 100, 10);  // frames
  b.choice(E(iToolState), {1, 0}, 1);  // slide show disabled, enabled on startup
  b.text(E(sDisplayName), "");
}

void network(SchemaBuilder &b, const device_network &el, const std::string &at) {
  b.number(E(iwidth), 100, 8192, 720);  // pixels
  b.number(E(iheight), 100, 8192, 720);
  // ZAMO, NORDRAD1, BMP, GIF, TIFF image, TIFF float, JPEG, PNG, PostScript, none, pipe, header
  b.choice(E(ifile_format), {1, 2, 8, 7, 3, 13, 10, 11, 9, 5, 12, 6}, 1);
  b.choice(E(iname_format), {3, 1, 2, 4, 5, 6}, 3);  // default, native, 8.3, METPS, original, IIA
  b.choice(E(iCompress), {0, 1, 2, 3}, 0);           // none, compress, gzip, TIFF PackBits
  b.choice(E(inotify_scheme), {2, 4, 5, 6}, 2);      // none, TCP/IP, rename, UNIX socket
  b.number(E(itcpip_port), 1, 65535, 30725);
  b.text(E(sRecipientHost), "");
  b.choice(E(icopy_scheme), {0, 1, 2, 4, 3}, 1);  // none, copy, RCP, SCP, script
  b.text(E(sTargetDirectory), "");
  b.choice(E(iCommandLineSyntax), {0, 1}, 0);  // pipe, path names
  b.text(E(sPipeProgram), "");
  b.text(E(sCopyScript), "");
  b.text(E(sUserName), "");
  b.text(E(sPassword), "");
}

void archive(SchemaBuilder &b, const device_archive &el, const std::string &at) {
  b.choice(E(isub_type), {1, 2, 3, 4}, 3);  // tape, magneto-optical, large disk, DVD
  b.text(E(asi.sTapeDevice), "/dev/nst0");
  b.text(E(asi.Mo.sMountPoint), "/modisk");
  b.text(E(asi.Mo.sDeviceFile), "");
  b.text(E(asi.Mo.sRawDeviceFile), "");
  b.choice(E(asi.Mo.iFsType), {0, 1}, 0);  // HFS, VXFS
  b.text(E(asi.sLdaDirectory), "");
  b.text(E(asi.Dvd.sMountPoint), "/mnt/dvd");
  b.text(E(asi.Dvd.sDeviceFile), "/dev/scd0");
  b.number(E(asi.Dvd.iBufSize), 1, 4096, 200);  // MB
}

void printer(SchemaBuilder &b, const device_printer &el, const std::string &at) {
  b.number(E(iwidth), 100, 8192, 880);  // pixels
  b.number(E(iheight), 100, 8192, 720);
  b.choice(E(iPaperSize), {0, 1, 2, 3, 4}, 3);  // 8.5x11, 8.5x14, 11x17, A4, A3
  b.text(E(sQueueName), "");
}

const output_device DEFDEV{};        // shape of a device record
const device_specific DEFDEV_dsi{};  // shape of its type-specific part

Schema build_device(int type) {
  Schema s;
  s.name = "device_def";
  SchemaBuilder b(s, &DEFDEV, sizeof DEFDEV);
  describe_output_device(b, DEFDEV, "DEFDEV", type);
  return s;
}

Schema build_network() {
  Schema s;
  s.name = "network_device";
  SchemaBuilder b(s, &DEFDEV_dsi, sizeof DEFDEV_dsi);
  network(b, DEFDEV_dsi.network, "DEFDEV.dsi.network");
  return s;
}
}  // namespace

void describe_output_device(SchemaBuilder &b, const output_device &el, const std::string &at, int type) {
  const TypeLimits &t = limits_of(type);
  // archive, network, printer, window, unused
  b.choice(E(idev_type), {DEVICE_ARCHIVE, DEVICE_NETWORK, DEVICE_PRINTER, DEVICE_WINDOW, DEVICE_UNUSED},
           t.type);
  b.text(E(sMenuAlias), t.alias);
  b.number(E(iskip_time), t.skip_min, t.skip_max, t.skip_factory);
  window(b, E(dsi.window));
  network(b, E(dsi.network));
  archive(b, E(dsi.archive));
  printer(b, E(dsi.printer));
}

int factory_device_type(int device) {
  // A new site shows products in a window, sends them on, archives them and
  // prints them; the other records wait unused.
  static const int kFirst[] = {DEVICE_WINDOW, DEVICE_NETWORK, DEVICE_ARCHIVE, DEVICE_PRINTER};
  return device >= 0 && device < 4 ? kFirst[device] : DEVICE_UNUSED;
}

const Schema &device_schema(int device_type) {
  static const Schema window = build_device(DEVICE_WINDOW);
  static const Schema network = build_device(DEVICE_NETWORK);
  static const Schema archive = build_device(DEVICE_ARCHIVE);
  static const Schema printer = build_device(DEVICE_PRINTER);
  static const Schema unused = build_device(DEVICE_UNUSED);
  switch (device_type) {
    case DEVICE_WINDOW:
      return window;
    case DEVICE_NETWORK:
      return network;
    case DEVICE_ARCHIVE:
      return archive;
    case DEVICE_PRINTER:
      return printer;
    default:
      return unused;
  }
}

const Schema &network_schema() {
  static const Schema schema = build_network();
  return schema;
}
