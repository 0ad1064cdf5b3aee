// The order in which Tab walks a page: the inputs a person can act on, in
// reading order. Hidden and greyed-out widgets are skipped.
#pragma once

#include <vector>

#include "TuiLayout.h"

class QelDlgObject;

// Items of layout that take the focus: editors, text views, combos, check
// and radio buttons that are visible and sensitive with all their frames.
std::vector<QelDlgObject*> TuiFocusOrder(const TuiLayout& layout);

// The neighbour of current in order, forward or backward, wrapping around;
// the first (or last) entry when current is not in order; null when empty.
QelDlgObject* TuiNextFocus(const std::vector<QelDlgObject*>& order, const QelDlgObject* current,
                           bool forward);
