#include "motif/main_panel.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/Separator.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "items/i18n.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "pages/pages.h"

namespace {

// Form attachments, collected per widget and applied before it is managed.
class Attachments {
 public:
  Attachments &form(int side, int offset) { return attach(side, XmATTACH_FORM, nullptr, offset); }
  Attachments &widget(int side, Widget w, int offset) { return attach(side, XmATTACH_WIDGET, w, offset); }
  Attachments &opposite(int side, Widget w, int offset) {
    return attach(side, XmATTACH_OPPOSITE_WIDGET, w, offset);
  }
  Attachments &size(int width, int height) {
    if (width) add(XmNwidth, width);
    if (height) add(XmNheight, height);
    return *this;
  }
  void apply(Widget w) { XtSetValues(w, args.data(), args.size()); }

  enum { LEFT, RIGHT, TOP, BOTTOM };

 private:
  Attachments &attach(int side, unsigned char how, Widget w, int offset) {
    static const char *const attachment[] = {XmNleftAttachment, XmNrightAttachment, XmNtopAttachment,
                                             XmNbottomAttachment};
    static const char *const widget_of[] = {XmNleftWidget, XmNrightWidget, XmNtopWidget, XmNbottomWidget};
    static const char *const offset_of[] = {XmNleftOffset, XmNrightOffset, XmNtopOffset, XmNbottomOffset};
    add(attachment[side], how);
    if (w) add(widget_of[side], (XtArgVal)w);
    add(offset_of[side], offset);
    return *this;
  }
  void add(const char *name, XtArgVal value) {
    Arg arg;
    XtSetArg(arg, const_cast<char *>(name), value);
    args.push_back(arg);
  }
  std::vector<Arg> args;
};

using A = Attachments;

void place(Widget w, Attachments &attachments) {
  attachments.apply(w);
  XtManageChild(w);
}

// A thin black line; `length` is its height when vertical, else its
// width comes from the attachments.
Widget line(Widget form, bool vertical, int length, Attachments attachments) {
  static const char black[] = "black";
  Widget w =
      XtVaCreateWidget("", xmSeparatorWidgetClass, form, XmNorientation, vertical ? XmVERTICAL : XmHORIZONTAL,
                       XmNseparatorType, XmSINGLE_LINE, XmNmargin, 0, XmNshadowThickness, 1, XtVaTypedArg,
                       XmNbackground, XmRString, black, sizeof black, nullptr);
  attachments.size(vertical ? 1 : 0, vertical ? length : 1);
  place(w, attachments);
  return w;
}

// A frame with an etched-out shadow and a centred title; returns the form
// that holds its contents.
Widget titled_frame(Widget parent, const char *name, const char *title_name, const char *title,
                    Attachments attachments) {
  Widget frame = XtVaCreateWidget(name, xmFrameWidgetClass, parent, XmNshadowType, XmSHADOW_ETCHED_OUT,
                                  XmNshadowThickness, 4, nullptr);
  XmString text = XmStringCreateLocalized(const_cast<char *>(title));
  XtVaCreateManagedWidget(title_name, xmLabelWidgetClass, frame, XmNchildType, XmFRAME_TITLE_CHILD,
                          XmNchildHorizontalAlignment, XmALIGNMENT_CENTER, XmNshadowThickness, 0,
                          XmNlabelString, text, nullptr);
  XmStringFree(text);
  Widget contents = XtVaCreateManagedWidget("", xmFormWidgetClass, frame, XmNshadowThickness, 0, nullptr);
  place(frame, attachments);
  return contents;
}

struct ButtonStyle {
  int width, height;
  const char *background;
};
const ButtonStyle RADAR_STYLE = {130, 62, "#b18c934e7182"};
const ButtonStyle ZAMO_STYLE = {80, 30, "#76aed0fe76ae"};

// A page button; label and colour are converted by the toolkit, so "\n"
// in the label breaks the line.
Widget page_button(Widget form, const char *name, const char *label, int page, const ButtonStyle &style,
                   Attachments attachments) {
  const char *text = _(label);
  Widget w = XtVaCreateWidget(name, xmPushButtonWidgetClass, form, XmNwidth, style.width, XmNheight,
                              style.height, XmNrecomputeSize, False, XtVaTypedArg, XmNlabelString, XmRString,
                              text, std::strlen(text) + 1, XtVaTypedArg, XmNbackground, XmRString,
                              style.background, std::strlen(style.background) + 1, nullptr);
  XtAddCallback(w, XmNactivateCallback, open_page, (XtPointer)(intptr_t)page);
  place(w, attachments);
  return w;
}

// Line offsets: the first link sits level with the upper button, the
// second 64 below it.
const int LINK_TOP = 33;
const int LINK_GAP = 64;

Widget build_radar_frame(Widget form) {
  Widget contents = titled_frame(form, "radarframe", "radarlabel", _("Radar Interfaces"),
                                 A().form(A::LEFT, 10).form(A::TOP, 10).size(210, 160));
  int left = full_mode ? 35 : 20;
  Widget kox = page_button(contents, "radarkoxpb", N_("KOX\nRadar Video\nProcessor"), PAGE_SIGNAL_PROCESSOR,
                           RADAR_STYLE, A().form(A::LEFT, left).form(A::TOP, 2));
  Widget zel =
      page_button(contents, "radarzelpb", N_("ZEL\nRadar Control\nProcessor"), PAGE_CONTROL_PROCESSOR,
                  RADAR_STYLE, A().form(A::LEFT, left).widget(A::TOP, kox, 5));
  line(contents, false, 0, A().widget(A::LEFT, kox, 0).form(A::RIGHT, 0).form(A::TOP, LINK_TOP));
  line(contents, false, 0, A().widget(A::LEFT, zel, 0).form(A::RIGHT, 0).form(A::TOP, LINK_TOP + LINK_GAP));
  return XtParent(contents);
}

void build_zamo_lines(Widget contents, Widget input, Widget ingest, Widget product, Widget output) {
  const int stub = 20;
  const int bus_top = LINK_TOP + 31;  // level with the lower row of buttons
  line(contents, false, 0, A().form(A::LEFT, 0).size(stub, 0).form(A::TOP, LINK_TOP));
  line(contents, false, 0, A().form(A::LEFT, 0).size(stub, 0).form(A::TOP, LINK_TOP + LINK_GAP));
  Widget joint = line(contents, true, LINK_GAP + 1, A().form(A::LEFT, stub - 1).form(A::TOP, LINK_TOP));

  line(contents, false, 0, A().widget(A::LEFT, joint, 0).widget(A::RIGHT, ingest, 0).form(A::TOP, bus_top));
  line(contents, false, 0, A().widget(A::LEFT, ingest, 0).widget(A::RIGHT, product, 0).form(A::TOP, bus_top));
  line(contents, false, 0, A().widget(A::LEFT, product, 0).widget(A::RIGHT, output, 0).form(A::TOP, bus_top));
  line(contents, false, 0, A().widget(A::LEFT, output, 0).form(A::RIGHT, 0).form(A::TOP, bus_top));

  // Input joins the bus between Ingest and Product.
  const int input_top = 15;
  line(contents, false, 0,
       A().widget(A::LEFT, input, 0).widget(A::RIGHT, product, 10).form(A::TOP, input_top));
  line(contents, true, bus_top - input_top + 1, A().widget(A::RIGHT, product, 10).form(A::TOP, input_top));
}

Widget build_zamo_frame(Widget form) {
  Widget contents = titled_frame(form, "zamoframe", "zamolabel", _("ZAMO"),
                                 A().form(A::RIGHT, 10).form(A::TOP, 10).size(340, 160));
  page_button(contents, "zamogeneralpb", N_("General"), PAGE_GENERAL, ZAMO_STYLE,
              A().form(A::LEFT, 130).form(A::TOP, 0));
  Widget input = page_button(contents, "zamoinputpb", N_("Input"), PAGE_INPUT_DEVICE, ZAMO_STYLE,
                             A().form(A::LEFT, 30).form(A::TOP, 0));
  Widget ingest = page_button(contents, "zamoingestpb", N_("Ingest"), PAGE_INGEST, ZAMO_STYLE,
                              A().form(A::LEFT, 30).form(A::TOP, 50));
  Widget product = page_button(contents, "zamoproductpb", N_("Product"), PAGE_PRODUCT, ZAMO_STYLE,
                               A().widget(A::LEFT, ingest, 20).form(A::TOP, 50));
  Widget output = page_button(contents, "zamooutputpb", N_("Output"), PAGE_OUTPUT_DEVICE, ZAMO_STYLE,
                              A().widget(A::LEFT, product, 20).form(A::TOP, 50));
  build_zamo_lines(contents, input, ingest, product, output);
  return XtParent(contents);
}

}  // namespace

void build_main_panel(Widget form) {
  Widget radar = build_radar_frame(form);
  if (!full_mode) return;
  Widget zamo = build_zamo_frame(form);
  for (int offset : {56, 56 + LINK_GAP})
    line(form, false, 0,
         A().widget(A::LEFT, radar, 0).widget(A::RIGHT, zamo, 0).opposite(A::TOP, radar, offset));
}
