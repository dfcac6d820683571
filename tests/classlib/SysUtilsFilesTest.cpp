#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "tests/common/TestSupport.h"

namespace {

TEST(SysUtilsFiles, NameParts) {
  struct {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
    const char* drive;
  } cases[] = {
      {"C:\\dir\\sub\\file.txt", "C:\\dir\\sub\\", "C:\\dir\\sub", "file.txt", ".txt", "C:"},
      {"C:\\file", "C:\\", "C:\\", "file", "", "C:"},
      {"C:file.txt", "C:", "C:", "file.txt", ".txt", "C:"},
      {"\\\\server\\share\\dir\\a.b.c", "\\\\server\\share\\dir\\", "\\\\server\\share\\dir", "a.b.c", ".c",
       "\\\\server\\share"},
      {"\\\\server\\share", "\\\\server\\", "\\\\server", "share", "", "\\\\server\\share"},
      {"dir.v2\\readme", "dir.v2\\", "dir.v2", "readme", "", ""},
      {"name.", "", "", "name.", ".", ""},
      {"\\file", "\\", "\\", "file", "", ""},
      {"a\\b\\", "a\\b\\", "a\\b", "", "", ""},
      {"", "", "", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractFilePath(c.name), c.path);
    EXPECT_EQ(ExtractFileDir(c.name), c.dir);
    EXPECT_EQ(ExtractFileName(c.name), c.file);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext);
    EXPECT_EQ(ExtractFileDrive(c.name), c.drive);
  }
}

TEST(SysUtilsFiles, ExtensionsAndTrailingDelimiters) {
  EXPECT_EQ(ChangeFileExt("dir.v2\\readme", ".txt"), "dir.v2\\readme.txt");
  EXPECT_EQ(ChangeFileExt("a.b.c", ".d"), "a.b.d");
  EXPECT_EQ(ChangeFileExt("a.txt", ""), "a");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\dir"), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\"), "C:");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\dir"), "C:\\dir");
  EXPECT_EQ(ExpandFileName("C:\\a\\..\\b\\.\\c.txt"), "C:\\b\\c.txt");
}

// A scratch folder under the temporary folder, removed afterwards; the
// current folder is restored too.
class SysUtilsFileSystem : public ::testing::Test {
 protected:
  void TearDown() override {
    SetCurrentDir(saved_);
    DeleteFile(root_ + "\\a\\b\\one.txt");
    DeleteFile(root_ + "\\a\\b\\two.txt");
    RemoveDir(root_ + "\\a\\b\\c");
    RemoveDir(root_ + "\\a\\rel");
    RemoveDir(root_ + "\\a\\b");
    RemoveDir(root_ + "\\a");
    RemoveDir(root_);
  }
  static void Touch(const std::string& name) {
    HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }

  TTempFolder temp_{"sysutils"};
  // Not made yet: the tests make it.
  std::string root_ = temp_.Folder() + "\\tree";
  std::string saved_ = GetCurrentDir();
};

TEST_F(SysUtilsFileSystem, FoldersAndFiles) {
  const std::string deep = root_ + "\\a\\b\\c\\";
  EXPECT_FALSE(DirectoryExists(root_));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(root_ + "\\a\\b\\c"));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_FALSE(CreateDir(root_ + "\\a"));
  EXPECT_FALSE(FileExists(root_ + "\\a"));

  const std::string one = root_ + "\\a\\b\\one.txt", two = root_ + "\\a\\b\\two.txt";
  Touch(one);
  EXPECT_TRUE(FileExists(one));
  EXPECT_FALSE(DirectoryExists(one));
  EXPECT_FALSE(FileExists(root_ + "\\a\\b\\*.txt"));  // no wildcard matching
  EXPECT_TRUE(RenameFile(one, two));
  EXPECT_FALSE(FileExists(one));
  EXPECT_TRUE(FileExists(two));
  EXPECT_FALSE(RemoveDir(root_ + "\\a\\b"));  // not empty
  EXPECT_TRUE(DeleteFile(two));
  EXPECT_FALSE(DeleteFile(two));
  EXPECT_TRUE(RemoveDir(root_ + "\\a\\b\\c"));

  try {
    ForceDirectories("");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.GetMessage(), "Unable to create directory");
  }
}

TEST_F(SysUtilsFileSystem, CurrentFolder) {
  ASSERT_TRUE(ForceDirectories(root_ + "\\a"));
  ChDir(root_ + "\\a");
  EXPECT_TRUE(SameText(GetCurrentDir(), root_ + "\\a"));
  EXPECT_TRUE(SameText(ExpandFileName("x.txt"), root_ + "\\a\\x.txt"));
  EXPECT_TRUE(ForceDirectories("rel"));
  EXPECT_TRUE(DirectoryExists(root_ + "\\a\\rel"));
  EXPECT_TRUE(SetCurrentDir(".."));
  EXPECT_TRUE(SameText(GetCurrentDir(), root_));
  EXPECT_FALSE(SetCurrentDir(root_ + "\\missing"));
  try {
    ChDir(root_ + "\\missing");
    ADD_FAILURE() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.GetMessage(), "File not found");
  }
  EXPECT_TRUE(SameText(GetCurrentDir(), root_));
}

TEST(SysUtilsErrors, OSErrorsCarryCodeAndText) {
  std::string text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '.');
  EXPECT_GT(static_cast<unsigned char>(text.back()), ' ');
  try {
    RaiseLastOSError(ERROR_FILE_NOT_FOUND);
  } catch (const EOSError& e) {
    EXPECT_EQ(e.GetMessage(), "System Error.  Code: 2.\r\n" + text);
    EXPECT_EQ(e.GetErrorCode(), 2u);
  }
  try {
    RaiseLastOSError(0);
  } catch (const EOSError& e) {
    EXPECT_EQ(e.GetMessage(), "A call to an OS function failed");
  }
  EXPECT_EQ(Win32Check(TRUE), TRUE);
  SetLastError(ERROR_ACCESS_DENIED);
  try {
    Win32Check(FALSE);
    ADD_FAILURE() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.GetErrorCode(), static_cast<unsigned long>(ERROR_ACCESS_DENIED));
  }
  try {
    Abort();
  } catch (const EAbort& e) {
    EXPECT_EQ(e.GetMessage(), "Operation aborted");
    EXPECT_STREQ(e.ClassName(), "EAbort");
  }
}

}  // namespace
