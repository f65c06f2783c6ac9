#include "Log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "Paths.h"
#include "ScratchFolder.h"
#include "UniqueHandle.h"

namespace {

const char kStamp[] = R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\])";

class WriteLogTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveTree(GetLogFolder()); }
  void TearDown() override { RemoveTree(GetLogFolder()); }
  std::string LogBytes() const { return ReadWholeFile(GetLogFilePath()); }
};

// Captures what WriteLog echoes to standard output.
class StandardOutputCapture {
 public:
  explicit StandardOutputCapture(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)),
        previous_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    SetStdHandle(STD_OUTPUT_HANDLE, file_.get());
  }
  ~StandardOutputCapture() { SetStdHandle(STD_OUTPUT_HANDLE, previous_); }

 private:
  unique_file file_;
  HANDLE previous_;
};

}  // namespace

TEST_F(WriteLogTest, FirstLineCreatesTheFolderChainAndTheFile) {
  ASSERT_FALSE(Exists(GetLogFolder()));
  WriteLog(L"ZkInstall\\ZKInstallPage2 CZKInstallPage2::OnProgChanged CreateShortcut error.");
  EXPECT_TRUE(IsDirectory(GetLogFolder()));
  EXPECT_TRUE(std::regex_match(
      LogBytes(), std::regex(std::string("^") + kStamp +
                             R"( - ZkInstall\\ZKInstallPage2 CZKInstallPage2::OnProgChanged CreateShortcut error\.\r\n$)")))
      << LogBytes();
}

TEST_F(WriteLogTest, LinesAreAppendedInCallOrderEachWithItsStamp) {
  WriteLog(L"first");
  WriteLog(L"second");
  EXPECT_TRUE(std::regex_match(LogBytes(), std::regex(std::string("^") + kStamp + " - first\\r\\n" + kStamp +
                                                      " - second\\r\\n$")))
      << LogBytes();
}

// A name from an archive cannot add a line of its own to the log.
TEST_F(WriteLogTest, ControlCharactersInAMessageStayOnItsLine) {
  WriteLog(L"Unpack error: bad name a\r\n[2026-01-01 00:00:00] - forged");
  EXPECT_TRUE(std::regex_match(LogBytes(), std::regex(std::string("^") + kStamp +
                                                      " - Unpack error: bad name a\\\\x0D\\\\x0A\\[2026.*forged\\r\\n$")))
      << LogBytes();
}

TEST_F(WriteLogTest, ChineseTextIsStoredInCodePage936) {
  WriteLog(L"\u6B63\u5728\u5B89\u88C5");  // 正在安装
  const std::string bytes = LogBytes();
  ASSERT_GE(bytes.size(), 10u);
  EXPECT_EQ(bytes.substr(bytes.size() - 10), "\xD5\xFD\xD4\xDA\xB0\xB2\xD7\xB0\r\n");
}

TEST_F(WriteLogTest, ReadOnlyLogFileLosesTheLineAndTheCallerGoesOn) {
  CreateFolderPath(GetLogFolder());
  WriteWholeFile(GetLogFilePath(), "kept\r\n");
  ASSERT_TRUE(SetFileAttributesW(GetLogFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  {
    // Wine keeps the read-only attribute as Unix permissions, which a root user bypasses;
    // Windows refuses the write. Only where the attribute holds can the logger be judged.
    unique_file probe(CreateFileW(GetLogFilePath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe) GTEST_SKIP() << "the read-only attribute is not enforced for this user";
  }
  WriteLog(L"lost");
  EXPECT_EQ(LogBytes(), "kept\r\n");
}

TEST_F(WriteLogTest, LogFileLockedByAnotherProgramLosesTheLineAndTheCallerGoesOn) {
  CreateFolderPath(GetLogFolder());
  WriteWholeFile(GetLogFilePath(), "kept\r\n");
  {
    unique_file exclusive(CreateFileW(GetLogFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(exclusive);
    WriteLog(L"lost");
  }
  EXPECT_EQ(LogBytes(), "kept\r\n");
}

TEST_F(WriteLogTest, FolderInPlaceOfTheLogFileLosesTheLine) {
  CreateFolderPath(GetLogFilePath());
  WriteLog(L"lost");
  EXPECT_TRUE(IsDirectory(GetLogFilePath()));
}

TEST_F(WriteLogTest, StandardOutputGetsTheStampASpaceAndTheMessage) {
  ScratchFolder scratch;
  {
    StandardOutputCapture capture(scratch / L"stdout.txt");
    WriteLog(L"echo \u8BF4\u660E");
  }
  const std::string echoed = ReadWholeFile(scratch / L"stdout.txt");
  EXPECT_TRUE(std::regex_match(echoed, std::regex(std::string("^") + kStamp + " echo \xCB\xB5\xC3\xF7\\r\\n$")))
      << echoed;
}

TEST_F(WriteLogTest, FormatPassesTheFormattedTextAndReturnsItsLength) {
  const int length = WriteLogFormat(L"%ls %ls %ls", L"ZkInstall\\ZKInstallPage3", L"CZKInstallPage3::ZKUnZipAll",
                                    L"CreateShortcut error.");
  const std::string expected = "ZkInstall\\ZKInstallPage3 CZKInstallPage3::ZKUnZipAll CreateShortcut error.";
  EXPECT_EQ(length, static_cast<int>(expected.size()));
  const std::string bytes = LogBytes();
  EXPECT_NE(bytes.find(" - " + expected + "\r\n"), std::string::npos) << bytes;
}

TEST_F(WriteLogTest, LongMessagesAreKeptWhole) {
  const std::wstring longText(5000, L'x');
  EXPECT_EQ(WriteLogFormat(L"%ls!", longText.c_str()), 5001);
  EXPECT_NE(LogBytes().find(std::string(5000, 'x') + "!\r\n"), std::string::npos);
}
