#pragma once
// Command line of the demo programs.

#include <string>
#include <vector>

struct DemoArguments {
  bool valid = true;        // false: an option was unknown or its value malformed
  std::wstring error;       // what was wrong, when not valid
  int exitAfterSeconds = 0; // "--exit-after N": close by itself after N seconds; 0 = stay open
  bool quiet = false;       // "--quiet": show nothing (the uninstaller stub)
};

// Reads the arguments after the program name. Each option may appear once.
DemoArguments ParseDemoArguments(const std::vector<std::wstring>& args);
