// An edit for a search depth with spin buttons: digits only while typing,
// the arrows and the arrow keys step within 0..60 (or 0 up to another
// maximum, for the other numbers of a side). What the user typed is judged
// only when the dialog is confirmed, so an out-of-range number gets its
// message rather than being silently corrected.
#pragma once

#include <QAbstractSpinBox>

namespace kaimo {

// The depths a side may be given.
constexpr int kMinDepth = 0;
constexpr int kMaxDepth = 60;

class DepthField : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit DepthField(QWidget* parent = nullptr, int maximum = kMaxDepth);

  int maximum() const { return maximum_; }

  void setNumber(int number);
  // The text as typed (QAbstractSpinBox::text() is the same).
  QString fieldText() const { return text(); }
  // The text without the digits-only rule, as a paste from elsewhere could
  // leave it; for tests.
  void setRawText(const QString& text);

  void stepBy(int steps) override;

 signals:
  // The text changed, typed, stepped or set.
  void fieldChanged();

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  StepEnabled stepEnabled() const override;

 private:
  // The typed number, or kMinDepth when the text is not one.
  int currentNumber() const;

  int maximum_;
};

}  // namespace kaimo
