#pragma once

#include <QIcon>

// The program's icon, the one its desktop entry names, compiled into the program.
QIcon ProgramIcon();
