// SPDX-License-Identifier: GPL-3.0-or-later
// Compiles the form class generated from velkoran.ui into its own library.
#include "ui_velkoran.h"
