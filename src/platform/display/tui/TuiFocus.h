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

// Where the focus goes once a box about a refused answer is closed, so that
// what is typed next corrects that answer: the field the box is about, else
// the field the person was last in, else the first one; null when order is
// empty.
QelDlgObject* TuiFocusAfterBox(const std::vector<QelDlgObject*>& order, const QelDlgObject* subject,
                               const QelDlgObject* lastField);
