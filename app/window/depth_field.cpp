#include "app/window/depth_field.h"

#include <QLineEdit>

#include <algorithm>

namespace kaimo {

DepthField::DepthField(QWidget* parent, int maximum) : QAbstractSpinBox(parent), maximum_(maximum) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setNumber(kMinDepth);
  connect(lineEdit(), &QLineEdit::textChanged, this, &DepthField::fieldChanged);
}

void DepthField::setNumber(int number) { lineEdit()->setText(QString::number(number)); }

void DepthField::setRawText(const QString& text) { lineEdit()->setText(text); }

void DepthField::stepBy(int steps) {
  setNumber(std::clamp(currentNumber() + steps, kMinDepth, maximum_));
  lineEdit()->selectAll();
}

QValidator::State DepthField::validate(QString& input, int& /*pos*/) const {
  // ASCII digits only: other scripts' digits would not read as a number.
  for (QChar c : input) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return QValidator::Invalid;
  }
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled DepthField::stepEnabled() const {
  const int number = currentNumber();
  StepEnabled enabled = StepNone;
  if (number < maximum_) enabled |= StepUpEnabled;
  if (number > kMinDepth) enabled |= StepDownEnabled;
  return enabled;
}

int DepthField::currentNumber() const {
  bool ok = false;
  const int number = text().toInt(&ok);
  return ok ? number : kMinDepth;
}

}  // namespace kaimo
