// The help of each page, for the front end that shows it (F1 on a terminal):
// what the page decides, what each field takes, what is checked and typical
// values, from the catalogue ZEP2PageHelp keyed by the page identifier.
#pragma once

#include <string>

class QelDialog;

std::string ZEP2PageHelpText(const QelDialog* page);
