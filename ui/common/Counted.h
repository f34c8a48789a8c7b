#pragma once

#include <QString>

// A count in words with the right form: Counted(1, "player differs", "players differ") gives
// "1 player differs", Counted(2, ...) "2 players differ", Counted(0, ...) "0 players differ".
QString Counted(qint64 count, const char* one, const char* many);
