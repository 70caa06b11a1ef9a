// The work-file step: reads the form file, writes (and truncates) the work file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "dfm/FormStreamWriter.h"
#include "dfm/FormTestSupport.h"
#include "engine/FormFile.h"
#include "winlib/Handles.h"

namespace qrx::test {
namespace {

class FormFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, base), 0u);
    dir_ = std::string(base) + "qrx_dfm_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(dir_.c_str(), nullptr);
    source_ = dir_ + "\\form1.dfm";
    work_ = dir_ + "\\work.tmp";
  }
  void TearDown() override {
    ::DeleteFileA(source_.c_str());
    ::DeleteFileA(work_.c_str());
    ::RemoveDirectoryA(dir_.c_str());
  }

  static void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
  }
  static std::string Read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static std::string Form() {
    FormStreamWriter w;
    w.Signature().Object("TForm1", "Form1").Prop("OnClick").Ident("FormClick").EndProps().EndObject();
    return WithResourceHeader("TFORM1", w.Bytes());
  }
  static constexpr const char* kFormText = "object Form1: TForm1\n  OnClick = FormClick\nend\n";

  std::string dir_, source_, work_;
};

TEST_F(FormFileTest, WritesTheTextOverALongerOldWorkFile) {
  Write(source_, Form());
  Write(work_, std::string(1000, 'x'));
  ASSERT_TRUE(ConvertFormFile(source_, work_));
  EXPECT_EQ(Read(work_), Crlf(kFormText));
}

TEST_F(FormFileTest, DamagedSourceFailsAndLeavesNoOldText) {
  Write(source_, "object Form1: TForm1\r\nend\r\n");  // a text form under the binary name
  Write(work_, "earlier file's text");
  EXPECT_FALSE(ConvertFormFile(source_, work_));
  EXPECT_EQ(Read(work_), "");
}

TEST_F(FormFileTest, MissingOrUnnamedFilesFail) {
  Write(work_, "kept");
  EXPECT_FALSE(ConvertFormFile(dir_ + "\\missing.dfm", work_));
  EXPECT_EQ(Read(work_), "kept");
  Write(source_, Form());
  EXPECT_FALSE(ConvertFormFile("", work_));
  EXPECT_FALSE(ConvertFormFile(source_, ""));
  EXPECT_FALSE(ConvertFormFile(source_, dir_ + "\\no such folder\\work.tmp"));
}

TEST_F(FormFileTest, OversizedSourceIsRefusedUnread) {
  std::string form = Form();
  {
    // A valid form followed by zeros up to one byte past the limit (sparse on most disks).
    UniqueFile file(::CreateFileA(source_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD wrote = 0;
    ASSERT_TRUE(::WriteFile(file.get(), form.data(), static_cast<DWORD>(form.size()), &wrote, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kMaxFormFileSize + 1);
    ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
  }
  EXPECT_FALSE(ConvertFormFile(source_, work_));
  // The same form at the limit is read: trailing bytes after a form do not matter.
  {
    UniqueFile file(::CreateFileA(source_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kMaxFormFileSize);
    ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
  }
  EXPECT_TRUE(ConvertFormFile(source_, work_));
  EXPECT_EQ(Read(work_), Crlf(kFormText));
}

}  // namespace
}  // namespace qrx::test
