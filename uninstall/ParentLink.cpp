#include "ParentLink.h"

#include <cstdint>

namespace {

// The parent only reads the result and ends; a parent that does not is not waited for longer.
constexpr DWORD kParentEndWaitMs = 30000;

}  // namespace

CParentLink::CParentLink(const UninstallArguments& arguments)
    : m_parent(arguments.parent), m_result(arguments.result != nullptr ? arguments.result : INVALID_HANDLE_VALUE) {}

void CParentLink::ReportResult(int code) {
  if (!m_result) return;
  const int32_t value = code;
  DWORD written = 0;
  WriteFile(m_result.get(), &value, sizeof(value), &written, nullptr);
  m_result.reset();
}

void CParentLink::WaitForParent() {
  if (m_parent) WaitForSingleObject(m_parent.get(), kParentEndWaitMs);
}
