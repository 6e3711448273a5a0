#pragma once
// A whole-number spin box that takes whatever is typed: a text that is not a number reads as
// the box's fallback value (its lower limit unless set), and a typed value outside the limits
// is clamped to them, both when the value is read and when the box loses focus.
#include <QSpinBox>
#include <optional>

namespace editor {

class TClampingSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  explicit TClampingSpinBox(QWidget* parent = nullptr);

  // The value a text that is not a number reads as (for a box without limits).
  void SetFallback(int value) { fallback_ = value; }
  // The typed text as it will read: the number clamped to the limits, or the fallback.
  int TextValue(const QString& text) const;
  // The box's text field: its edits tell a typed change from a set value.
  using QSpinBox::lineEdit;

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  int valueFromText(const QString& text) const override;

 private:
  std::optional<int> fallback_;
};

}  // namespace editor
