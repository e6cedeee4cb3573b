#pragma once
// TFormPicture: a picture of a record form.
//
// An embedded picture is given by its size and its pixels (00BBGGRR, column
// by column, as the layout line holds them; pixels not given, or unset, are
// white). It is drawn transparently: the colour of its bottom-left pixel is
// not painted. Only the columns the pixels reach are kept as an image.
//
// A field picture shows the picture file loaded into it, scaled down to fit,
// or a dotted frame while it has none, so that it can be found and clicked.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

class TFormPicture : public QWidget {
 public:
  explicit TFormPicture(bool embedded, QWidget* parent = nullptr);

  bool Embedded() const { return embedded_; }
  // Resizes the control to width x height.
  void SetPixels(int width, int height, const std::vector<uint32_t>& pixels);
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool embedded_;
  QImage image_;
  bool whiteShown_ = true;  // the unset part is painted white (white is not transparent)
};
