#include "editor/ClampingSpinBox.h"

#include <algorithm>

namespace editor {

TClampingSpinBox::TClampingSpinBox(QWidget* parent) : QSpinBox(parent) {}

int TClampingSpinBox::TextValue(const QString& text) const
{
  bool number = false;
  const qlonglong typed = text.trimmed().toLongLong(&number);
  if (!number) return std::clamp(fallback_.value_or(minimum()), minimum(), maximum());
  return static_cast<int>(std::clamp<qlonglong>(typed, minimum(), maximum()));
}

QValidator::State TClampingSpinBox::validate(QString& input, int& pos) const
{
  // Any text may be typed; one that would not read as itself is fixed up when it is taken.
  bool number = false;
  const qlonglong typed = input.trimmed().toLongLong(&number);
  if (number && typed >= minimum() && typed <= maximum()) return QSpinBox::validate(input, pos);
  return QValidator::Intermediate;
}

void TClampingSpinBox::fixup(QString& input) const { input = textFromValue(TextValue(input)); }

int TClampingSpinBox::valueFromText(const QString& text) const { return TextValue(text); }

}  // namespace editor
