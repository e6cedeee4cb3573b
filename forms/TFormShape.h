#pragma once
// TFormShape: a rectangle shape of a record form: a black outline of the given
// thickness around its whole area, and a white inside when it is filled. A
// filled shape one or two pixels thick is what the layout calls a line.

#include <QWidget>

class TFormShape : public QWidget {
 public:
  TFormShape(bool filled, QWidget* parent = nullptr);

  bool Filled() const { return filled_; }
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int width);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool filled_;
  int penWidth_ = 1;
};
