// Progress bar arithmetic: the position always stays inside the range.
#include "QelDlgWidgets.h"

#include <algorithm>

void QelDlgProgress::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetPosition(position_);
}

void QelDlgProgress::SetPosition(int position) {
  const int clamped = std::clamp(position, minimum_, maximum_);
  if (clamped == position_) return;
  position_ = clamped;
  Changed();
}
