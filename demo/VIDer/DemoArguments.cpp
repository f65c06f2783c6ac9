#include "DemoArguments.h"

#include <cwctype>

namespace {

constexpr int kMaxExitAfterSeconds = 24 * 60 * 60;

// A whole decimal number from 1 to kMaxExitAfterSeconds, or 0 when the text is anything else.
int ParseSeconds(const std::wstring& text) {
  if (text.empty() || text.size() > 5) return 0;
  int value = 0;
  for (wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') return 0;
    value = value * 10 + (ch - L'0');
  }
  return value <= kMaxExitAfterSeconds ? value : 0;
}

}  // namespace

DemoArguments ParseDemoArguments(const std::vector<std::wstring>& args) {
  DemoArguments result;
  auto fail = [&result](std::wstring why) {
    result.valid = false;
    result.error = std::move(why);
    return result;
  };
  bool sawExitAfter = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--exit-after") {
      if (sawExitAfter) return fail(L"--exit-after given twice");
      if (i + 1 >= args.size()) return fail(L"--exit-after needs a number of seconds");
      result.exitAfterSeconds = ParseSeconds(args[++i]);
      if (result.exitAfterSeconds == 0)
        return fail(L"--exit-after wants whole seconds from 1 to 86400, not \"" + args[i] + L"\"");
      sawExitAfter = true;
    } else if (arg == L"--quiet") {
      result.quiet = true;
    } else {
      return fail(L"unknown argument \"" + arg + L"\"");
    }
  }
  return result;
}
