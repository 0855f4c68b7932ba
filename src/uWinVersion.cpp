#include "uWinVersion.h"

int WinVersionCode(TPlatformKind kind, int major, int minor) {
    switch (kind) {
    case TPlatformKind::Win9x:
        if (major == 4 && minor == 0)
            return 1;
        if (major == 4 && minor == 10)
            return 2;
        if (major == 4 && minor == 90)
            return 4;
        return 0;
    case TPlatformKind::WinNT:
        if (major == 4 && minor == 0)
            return 5;
        if (major == 5 && minor == 0)
            return 6;
        if (major == 5 && minor == 1)
            return 7;
        if (major == 6)
            return 8;
        return 0;
    case TPlatformKind::Other:
        return 0;
    }
    return 0;
}

int GetWinVersion() {
    // Not a Windows system: none of the Windows families applies.
    return WinVersionCode(TPlatformKind::Other, 0, 0);
}
