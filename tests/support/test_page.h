// A page of its own record that uses every item kind of the walk: toggles,
// choices, numbers and texts with and without hint menus, every text flag,
// conditional sections and rows, a device count with one repeated section
// per device, and numbered labels and titles. Tests and the benchmark use
// it; it is not part of the editor.
#pragma once

#include <cstdint>

#include "items/walk.h"

enum { TEST_DEVICE_CAPACITY = 240 };

struct test_device {
  int8_t iType;  // choice: 0 serial, 1 network
  uint8_t lEnabled;
  uint16_t iPort;
  int16_t iTimeout;  // seconds, shown in minutes
  char sAddress[16];
  double dRate;
};

struct test_setup {
  uint8_t lFeature;       // toggle: shows the range row and the texts section
  int32_t iMode;          // choice: 0 fast, 1 slow, 2 off
  int32_t iRange;         // centimetres shown as metres (scale 100)
  int16_t iThreshold[2];  // dB
  float fRatio;           // percent; shown in fast mode
  char sHost[40];         // shown in slow and off mode
  uint32_t iPort;         // shown with the host
  char sPassword[16];     // masked
  char sCode[4];          // shown underscore-padded
  char sPadded[12];       // blank-padded, no terminator
  char sNote[24];
  int16_t iDeviceCount;  // devices in use
  test_device device[TEST_DEVICE_CAPACITY];
  uint8_t lTrailer;  // after the devices
};

extern test_setup testrec;
extern test_setup testrec_limits[3];

// Device sections the page walks over (at most TEST_DEVICE_CAPACITY);
// tests keep the default, the benchmark raises it to scale the page (six
// items each: all 240 make a page of about 1450 items).
extern int test_page_device_slots;

extern PageState test_page_state;
void test_page(uint32_t pass, SetupItem *item, void *arg);

// Fills the limit copies and puts every current value at its factory value
// (every value in range).
void test_page_reset(void);
