// A checked view of one row of pixels.
//
// mingw has no address sanitizer, so pixel loops that want their indexes
// checked read rows through this view: in a checked build (PERIVANE_CHECKED)
// an index outside the row raises ERangeError; otherwise it is a plain array.
#pragma once

#include <string>

#include "classlib/Exceptions.h"

template <class T>
class TPixelRow {
 public:
  TPixelRow(T* data, int count) : data_(data), count_(count) {}
  T& operator[](int i) const {
#ifdef PERIVANE_CHECKED
    if (i < 0 || i >= count_) throw ERangeError("Pixel index " + std::to_string(i) + " out of range");
#endif
    return data_[i];
  }
  T* Data() const { return data_; }
  int Count() const { return count_; }

 private:
  T* data_;
  int count_;
};
