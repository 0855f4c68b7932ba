#pragma once
// Which Windows the program runs on, as one small code. The code picks the registry root of the
// start-at-logon entry; on other systems it is 0.

// The platform family the system reports.
enum class TPlatformKind { Win9x, WinNT, Other };

// The code of a platform family and version: 1 = 95, 2 = 98, 4 = Me, 5 = NT 4.0, 6 = 2000, 7 = XP,
// 8 = Vista and the other 6.x versions; 0 for anything else. (There is no 3.)
int WinVersionCode(TPlatformKind kind, int major, int minor);

// The code of the system the program runs on.
int GetWinVersion();
