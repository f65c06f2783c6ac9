#pragma once
// Numbered messages passed between the frame, the pages and the worker through ZkBase.

#include <cstdint>

constexpr uint32_t kMsgPostToUiThread = 1;   // param1: the message to handle on the UI thread
constexpr uint32_t kMsgSelectPage = 52;      // param1: page index; page 2 also starts the installation
constexpr uint32_t kMsgStartInstall = 53;
constexpr uint32_t kMsgProgress = 54;        // param2 (when relayed): 1 when done equals total
constexpr uint32_t kMsgInstallFailed = 55;  // the unpack ended without its final report
