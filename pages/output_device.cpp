// The output device page: how many output devices are in use, and for each
// device record its type (window, network destination, archive, printer)
// with that type's settings. Each device's limits follow its current type
// and are reloaded from the site library after its items in every pass but
// the visit.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

// A field of the device record `dev`, reported as "DEFDEV.<member>".
#define DEFDEV(member) FIELD_AS(zamo.device.def[dev].member, "DEFDEV." #member)

// File formats of dsi.network.ifile_format that are images with a size.
constexpr int SIZED_FORMATS[] = {3, 7, 8, 9, 10, 11, 12, 13};
enum { FORMAT_PIPE = 12 };
// Copy schemes of dsi.network.icopy_scheme.
enum { COPY_RCP = 2, COPY_SCRIPT = 3, COPY_SCP = 4 };
// Notification schemes of dsi.network.inotify_scheme that use a port.
enum { NOTIFY_TCPIP = 4, NOTIFY_UNIX = 6 };
// Archive media of dsi.archive.isub_type.
enum { MEDIA_TAPE = 1, MEDIA_MO = 2, MEDIA_LARGE_DISK = 3, MEDIA_DVD = 4 };

constexpr int DEVICE_RECORDS = static_cast<int>(sizeof zamo.device.def / sizeof zamo.device.def[0]);

PageState page = page_state(PAGE_OUTPUT_DEVICE);
const char *const section_topic = "output_device_general_specifications";
// A condition in words, for the help pages.

// Device sections that exist: as many as the maximum asks for, but never
// more than the record holds, whatever the stored maximum says.
int device_sections() { return std::clamp(zamo.device.imaxdevcount, 0, DEVICE_RECORDS); }

const device_network &network(int dev) { return zamo.device.def[dev].dsi.network; }
const device_archive &archive(int dev) { return zamo.device.def[dev].dsi.archive; }
bool is_type(int dev, int type) { return zamo.device.def[dev].idev_type == type; }
bool network_is(int dev) { return is_type(dev, DEVICE_NETWORK); }
bool sized_format(int dev) {
  return std::find(std::begin(SIZED_FORMATS), std::end(SIZED_FORMATS), network(dev).ifile_format) !=
         std::end(SIZED_FORMATS);
}
bool copies_as_user(int dev) {
  const int scheme = network(dev).icopy_scheme;
  return scheme == COPY_RCP || scheme == COPY_SCRIPT || scheme == COPY_SCP;
}
bool notifies_on_port(int dev) {
  const int scheme = network(dev).inotify_scheme;
  return scheme == NOTIFY_TCPIP || scheme == NOTIFY_UNIX;
}
bool media_is(int dev, int media) { return is_type(dev, DEVICE_ARCHIVE) && archive(dev).isub_type == media; }

void window_rows(PageWalk &w, int dev) {
  const Hints sizes = {_("480 - Medium"), _("720 - Large"), _("940 - XLarge")};
  w.row(is_type(dev, DEVICE_WINDOW), _("the device type is Window"));
  w.number(FIELD(zamo.device.def[dev].dsi.window.imoviecnt), _("Device movie length"), _("%.0f frames"), 1);
  w.number(FIELD(zamo.device.def[dev].dsi.window.iwidth), _("Initial width of image"), _("%.0f pixels"), 1,
           sizes);
  w.number(FIELD(zamo.device.def[dev].dsi.window.iheight), _("Initial height of image"), _("%.0f pixels"), 1,
           sizes);
  w.number(FIELD(zamo.device.def[dev].dsi.window.ixpos), _("Initial horizontal offset"), _("%.0f pixels"), 1);
  w.number(FIELD(zamo.device.def[dev].dsi.window.iypos), _("Initial vertical offset"), _("%.0f pixels"), 1);
  w.choice(DEFDEV(dsi.window.iToolState), _("Slide Show"),
           {{_("Disable on startup"), 1}, {_("Enable on startup"), 0}});
  w.text(TEXT(zamo.device.def[dev].dsi.window.sDisplayName), _("Display Name"));
}

void network_rows(PageWalk &w, int dev) {
  device_network &net = zamo.device.def[dev].dsi.network;
  w.row(network_is(dev), _("the device type is Network"));
  w.choice(DEFDEV(dsi.network.ifile_format), _("File format"),
           {{_("ZAMO (Def)"), 1},
            {_("NORDRAD1"), 2},
            {_("BMP"), 8},
            {_("GIF"), 7},
            {_("TIFF Image"), 3},
            {_("TIFF Float"), 13},
            {_("JPEG"), 10},
            {_("PNG"), 11},
            {_("Postscript"), 9},
            {_("None"), 5},
            {_("Pipe"), FORMAT_PIPE},
            {_("Header"), 6}});
  w.row(network_is(dev) && net.ifile_format == FORMAT_PIPE,
        _("the device type is Network and the file format is Pipe"));
  w.text(TEXT(net.sPipeProgram), _("Pipe program name"));
  w.choice(DEFDEV(dsi.network.iCommandLineSyntax), _("Command line syntax"),
           {{_("Pipe"), 0}, {_("Pathnames"), 1}});
  w.row(network_is(dev), _("the device type is Network"));
  // "8.3" names the short file name form itself and is never translated.
  w.choice(
      DEFDEV(dsi.network.iname_format), _("Filename format"),
      {{_("Default"), 3}, {_("Native"), 1}, {"8.3", 2}, {_("METPS"), 4}, {_("Original"), 5}, {_("IIA"), 6}});
  w.choice(DEFDEV(dsi.network.iCompress), _("Compression scheme"),
           {{_("None"), 0}, {_("Compress"), 1}, {_("Gzip"), 2}, {_("TIFF PackBits"), 3}});
  w.choice(DEFDEV(dsi.network.inotify_scheme), _("Notification scheme"),
           {{_("None"), 2}, {_("TCPIP"), NOTIFY_TCPIP}, {_("Rename"), 5}, {_("UNIX"), NOTIFY_UNIX}});
  w.text(TEXT(net.sTargetDirectory), _("Target directory"));
  w.choice(DEFDEV(dsi.network.icopy_scheme), _("Copy scheme"),
           {{_("None"), 0},
            {_("Copy"), 1},
            {_("RCP"), COPY_RCP},
            {_("SCP"), COPY_SCP},
            {_("Script"), COPY_SCRIPT}});
  w.row(network_is(dev) && copies_as_user(dev),
        _("the device type is Network and the copy scheme is RCP, SCP or Script"));
  w.text(TEXT(net.sUserName), _("User name"));
  w.row(network_is(dev) && net.icopy_scheme == COPY_SCRIPT,
        _("the device type is Network and the copy scheme is Script"));
  w.text(TEXT(net.sPassword), _("Password"), {}, TextPlain | TextMasked);
  w.text(TEXT(net.sCopyScript), _("Copy script name"));
  w.row(network_is(dev) && notifies_on_port(dev),
        _("the device type is Network and the notification scheme is TCPIP or UNIX"));
  w.number(FIELD(zamo.device.def[dev].dsi.network.itcpip_port), _("Notification port number"), "%.0f", 1,
           {w.hint("%d", 30725)});
  w.row(network_is(dev), _("the device type is Network"));
  w.text(TEXT(net.sRecipientHost), _("Recipient host name"));
  w.row(network_is(dev) && sized_format(dev), _("the device type is Network and the file format is an image "
                                                "(TIFF, GIF, BMP, Postscript, JPEG, PNG or Pipe)"));
  w.number(FIELD(zamo.device.def[dev].dsi.network.iwidth), _("Width of image"), _("%.0f pixels"), 1);
  w.number(FIELD(zamo.device.def[dev].dsi.network.iheight), _("Height of image"), _("%.0f pixels"), 1);
}

void archive_rows(PageWalk &w, int dev) {
  archive_media &media = zamo.device.def[dev].dsi.archive.asi;
  w.row(is_type(dev, DEVICE_ARCHIVE), _("the device type is Archive"));
  w.choice(DEFDEV(dsi.archive.isub_type), _("Type of archive media"),
           {{_("Tape"), MEDIA_TAPE},
            {_("Magneto-Optical"), MEDIA_MO},
            {_("Large Disk"), MEDIA_LARGE_DISK},
            {_("DVD"), MEDIA_DVD}});
  w.row(media_is(dev, MEDIA_TAPE), _("the device type is Archive on Tape"));
  w.text(TEXT(media.sTapeDevice), _("Device file"), {"/dev/nst0"});
  w.row(media_is(dev, MEDIA_MO), _("the device type is Archive on Magneto-Optical"));
  w.choice(DEFDEV(dsi.archive.asi.Mo.iFsType), _("File system type"), {{_("HFS"), 0}, {_("VXFS"), 1}});
  w.text(TEXT(media.Mo.sDeviceFile), _("Device file"));
  w.text(TEXT(media.Mo.sMountPoint), _("MO Disk mount point"), {"/modisk"});
  w.text(TEXT(media.Mo.sRawDeviceFile), _("Raw Device file"));
  w.row(media_is(dev, MEDIA_LARGE_DISK), _("the device type is Archive on Large Disk"));
  w.text(TEXT(media.sLdaDirectory), _("LDA directory"));
  w.row(media_is(dev, MEDIA_DVD), _("the device type is Archive on DVD"));
  w.text(TEXT(media.Dvd.sDeviceFile), _("Device file"), {"/dev/scd0"});
  w.text(TEXT(media.Dvd.sMountPoint), _("DVD Disk mount point"), {"/mnt/dvd"});
  w.number(FIELD(zamo.device.def[dev].dsi.archive.asi.Dvd.iBufSize), _("Buffer Size"), _("%.0f MB"), 1,
           {_("200 MB")});
}

void printer_rows(PageWalk &w, int dev) {
  w.row(is_type(dev, DEVICE_PRINTER), _("the device type is Printer"));
  w.choice(DEFDEV(dsi.printer.iPaperSize), _("Paper Size"),
           {{_("8.5x11"), 0}, {_("8.5x14"), 1}, {_("11x17"), 2}, {_("A4"), 3}, {_("A3"), 4}});
  w.text(TEXT(zamo.device.def[dev].dsi.printer.sQueueName), _("Queue name"));
  w.number(FIELD(zamo.device.def[dev].dsi.printer.iwidth), _("Width of image"), _("%.0f pixels"), 1,
           {_("880 pixels")});
  w.number(FIELD(zamo.device.def[dev].dsi.printer.iheight), _("Height of image"), _("%.0f pixels"), 1,
           {_("720 pixels")});
}

void device_section(PageWalk &w, int dev) {
  w.section(w.title(_("Output Device #%d"), dev + 1), section_topic, dev < zamo.device.idevcount,
            _("the Number of output devices counts this device"));
  w.row();
  w.choice(DEFDEV(idev_type), _("Device type"),
           {{_("Archive"), DEVICE_ARCHIVE},
            {_("Network"), DEVICE_NETWORK},
            {_("Printer"), DEVICE_PRINTER},
            {_("Window"), DEVICE_WINDOW},
            {_("UNUSED"), DEVICE_UNUSED}});
  w.text(TEXT(zamo.device.def[dev].sMenuAlias), _("Menu alias"));
  w.number(FIELD(zamo.device.def[dev].iskip_time), _("Min time between output"), _("%.0f sec"), 1);
  window_rows(w, dev);
  network_rows(w, dev);
  archive_rows(w, dev);
  printer_rows(w, dev);
}

// Gives the device's limit copies the limits of its current type.
void reload_device_limits(int dev) {
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
    device_limits(zamo.device.def[dev], copy, zamo_limits[copy].device.def[dev]);
}

// Says that the count typed exceeds the maximum. The format is looked up
// first and then filled in, so a translation of it is used.
const char *count_exceeded_warning(int maximum) {
  const char *format =
      _("The \"Number of output devices\" entered has exceeded the \"Maximum number of output devices\" "
        "%d.\nIf you need more than %d output devices, please close this menu and then modify in the "
        "\n\"General\" "
        "Menu under the section \"File and System Quotas\" the field \"Maximum number of output devices\"");
  static std::vector<char> message;
  message.assign(std::snprintf(nullptr, 0, format, maximum, maximum) + 1, '\0');
  std::snprintf(message.data(), message.size(), format, maximum, maximum);
  return message.data();
}

// After a store through the device-count field or its section's Help
// button: a count above the maximum becomes the maximum, in the window and
// in the record alike, with a warning.
const char *limit_device_count() {
  const int maximum = zamo.device.imaxdevcount;
  if (zamo.device.idevcount <= maximum) return nullptr;
  field_assign(FIELD(zamo.device.idevcount), maximum);
  page_redisplay_field(page, &zamo.device.idevcount);
  return count_exceeded_warning(maximum);
}

}  // namespace

void device_limits(const output_device &current, int copy, output_device &out) {
  out.idev_type = current.idev_type;
  setup_limits("device_def", &out, copy, 0);
  if (current.idev_type != DEVICE_NETWORK) return;
  std::memcpy(&out.dsi, &current.dsi, sizeof out.dsi);
  setup_limits("network_device", &out.dsi, copy, 0);
}

void output_device_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);

  w.after_store(limit_device_count);
  w.section(_("Output Device Specifications"), section_topic);
  w.row();
  w.number(FIELD(zamo.device.idevcount), _("Number of output devices"), "%.0f", 1);
  w.count_seen();
  w.after_store(nullptr);

  for (int dev = 0; dev < device_sections(); ++dev) {
    device_section(w, dev);
    w.upkeep([dev] { reload_device_limits(dev); });
  }
}
