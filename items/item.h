// Page passes and setup item records.
#pragma once

#include <cstdint>

enum Pass : uint32_t {
  PassBuild = 0,
  PassStore = 1,
  PassMeasure = 2,
  PassList = 3,
  PassCheck = 4,
  PassRepair = 5,
  // Every item, shown or not, handed to an ItemVisitor (items/walk.h) with
  // all that its page says about it; changes nothing.
  PassVisit = 6,
};

enum ItemKind : uint32_t {
  KindText = 0,
  KindNumber = 1,
  KindChoice = 2,
  KindToggle = 3,
  KindHintNumber = 4,
  KindHintText = 5,
  KindSectionHelp = 6,
};

struct PageState;

// Item id: section in bits 24..31, row in bits 12..23, item in bits 0..11.
struct SetupItem {
  uint32_t kind;
  uint32_t id;
  void *widgets;    // the front end's record of the item's widgets
  char text[80];    // number: display format; section: help topic; toggle: off text
  char text2[80];   // toggle: on text
  PageState *page;  // the page whose walk made the item
};

// A page function: the pass, the item record of PassStore (or none) and the
// pass's argument (PassBuild: the front end's window; PassStore: a StoreRequest;
// PassList: the listing file; PassVisit: the visitor).
typedef void (*PageFunction)(uint32_t pass, SetupItem *item, void *arg);
