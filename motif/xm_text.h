// A compound string made from a text of the current locale, freed when it
// goes out of scope. Pass it on with get(): Xt's variable argument lists
// take no objects.
#pragma once

#include <Xm/Xm.h>

class XmText {
 public:
  explicit XmText(const char *text) : string_(XmStringCreateLocalized(const_cast<char *>(text))) {}
  ~XmText() { XmStringFree(string_); }
  XmText(const XmText &) = delete;
  XmText &operator=(const XmText &) = delete;

  XmString get() const { return string_; }

 private:
  XmString string_;
};
