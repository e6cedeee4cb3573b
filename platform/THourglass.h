#pragma once
// THourglass: shows the wait cursor for the life of the object, so that an early
// return or an error can never leave it on. Guards nest. Does nothing without a
// QGuiApplication.

class THourglass {
 public:
  THourglass();
  ~THourglass();
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;

 private:
  bool active_ = false;
};
