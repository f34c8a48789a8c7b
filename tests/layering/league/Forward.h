#pragma once
// The league's files using the working database: allowed.
#include "store/PlayersTable.h"
