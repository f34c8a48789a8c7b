#pragma once
// The working database reaching up into the league's files: the layer check must refuse this.
#include "fileformat/PlayerFile.h"
