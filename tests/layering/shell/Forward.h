#pragma once
// The start-up bringing up the main window: allowed.
#include "ui/main/frmMain.h"
