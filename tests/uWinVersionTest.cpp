// The Windows version code: every code of the table and combinations outside it.
#include "uWinVersion.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    TPlatformKind kind;
    int major, minor, code;
};

TEST(uWinVersion, CodeOfEachPlatformAndVersion) {
    const VersionCase cases[] = {
        // the table
        {TPlatformKind::Win9x, 4, 0, 1},
        {TPlatformKind::Win9x, 4, 10, 2},
        {TPlatformKind::Win9x, 4, 90, 4},
        {TPlatformKind::WinNT, 4, 0, 5},
        {TPlatformKind::WinNT, 5, 0, 6},
        {TPlatformKind::WinNT, 5, 1, 7},
        {TPlatformKind::WinNT, 6, 0, 8},
        {TPlatformKind::WinNT, 6, 1, 8},
        {TPlatformKind::WinNT, 6, 3, 8},
        // any other combination
        {TPlatformKind::Win9x, 4, 3, 0},
        {TPlatformKind::Win9x, 5, 0, 0},
        {TPlatformKind::Win9x, 6, 0, 0},
        {TPlatformKind::WinNT, 4, 10, 0},
        {TPlatformKind::WinNT, 4, 90, 0},
        {TPlatformKind::WinNT, 5, 2, 0},
        {TPlatformKind::WinNT, 3, 51, 0},
        {TPlatformKind::WinNT, 10, 0, 0},
        {TPlatformKind::Other, 4, 0, 0},
        {TPlatformKind::Other, 6, 1, 0},
    };
    for (const VersionCase &c : cases)
        EXPECT_EQ(WinVersionCode(c.kind, c.major, c.minor), c.code)
            << "kind " << static_cast<int>(c.kind) << " " << c.major << "." << c.minor;
}

TEST(uWinVersion, NoCombinationGivesThree) {
    for (auto kind : {TPlatformKind::Win9x, TPlatformKind::WinNT, TPlatformKind::Other})
        for (int major = 0; major <= 12; ++major)
            for (int minor = 0; minor <= 100; ++minor)
                ASSERT_NE(WinVersionCode(kind, major, minor), 3);
}

TEST(uWinVersion, ThisSystemIsNotWindows) {
    EXPECT_EQ(GetWinVersion(), 0);
}

} // namespace
