#pragma once

// Resource identifiers of the program's icon and pictures, shared by the
// resource script and the code that loads them.
#define IDI_KESTAVINE 1
#define IDB_BACKGROUND 101
#define IDB_TITLE 102
#define IDB_START 103
#define IDB_STOP 104
