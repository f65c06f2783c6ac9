#pragma once
// The icon resource the window tests are linked with (TestIcon.rc.in).

constexpr unsigned kTestIconId = 101;
