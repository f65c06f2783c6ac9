#include "SetupArguments.h"

#include <gtest/gtest.h>

TEST(SetupArguments, ScopeFollowsTheSwitchesThenTheElevation) {
  struct Case {
    std::vector<std::wstring> arguments;
    bool elevated;
    InstallScope expected;
  };
  const Case cases[] = {
      {{}, true, InstallScope::kPerMachine},
      {{}, false, InstallScope::kPerUser},
      {{L"/CURRENTUSER"}, true, InstallScope::kPerUser},
      {{L"/currentuser"}, false, InstallScope::kPerUser},
      {{L"/AllUsers"}, false, InstallScope::kPerMachine},
      {{L"/ALLUSERS"}, true, InstallScope::kPerMachine},
      // The last of the two switches counts; unknown words and look-alikes change nothing.
      {{L"/ALLUSERS", L"/CURRENTUSER"}, true, InstallScope::kPerUser},
      {{L"/CURRENTUSER", L"/ALLUSERS"}, false, InstallScope::kPerMachine},
      {{L"/CURRENTUSERS", L"ALLUSERS", L"/ALLUSER", L""}, true, InstallScope::kPerMachine},
      {{L"/CURRENTUSERS", L"ALLUSERS", L"/ALLUSER", L""}, false, InstallScope::kPerUser},
  };
  for (const Case& c : cases) {
    std::wstring shown;
    for (const std::wstring& a : c.arguments) shown += a + L" ";
    EXPECT_EQ(DecideInstallScope(ParseSetupArguments(c.arguments), c.elevated), c.expected)
        << "arguments: " << std::string(shown.begin(), shown.end()) << " elevated: " << c.elevated;
  }
}
