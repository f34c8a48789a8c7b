#pragma once
// A window reaching up into the start-up: the layer check must refuse this.
#include "shell/frmSplash2.h"
