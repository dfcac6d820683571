#include "tests/common/TestSupport.h"

#include "classlib/SysUtils.h"

Lines LinesOf(const TStrings* s) {
  Lines out;
  for (int i = 0; i < s->GetCount(); ++i) out.push_back(s->Get(i));
  return out;
}

std::string LongText(size_t n) {
  const std::string piece = "Caf\xE9 cr\xE8me, ";
  std::string text;
  text.reserve(n + piece.size());
  while (text.size() < n) text += piece;
  text.resize(n);
  return text;
}

TTempFolder::TTempFolder(const std::string& tag) {
  char temp[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof temp, temp);
  // A counter keeps two folders of one tag in one process apart.
  static int counter = 0;
  folder_ = IncludeTrailingPathDelimiter(std::string(temp, n > sizeof temp ? 0 : n)) + tag + "-" +
            IntToStr(GetCurrentProcessId()) + "-" + IntToStr(++counter);
  ForceDirectories(folder_);
}

TTempFolder::~TTempFolder() {
  for (const std::string& f : files_) DeleteFile(f);
  RemoveDir(folder_);
}

std::string TTempFolder::Path(const std::string& name) {
  files_.push_back(folder_ + "\\" + name);
  return files_.back();
}

std::string WriteForm(TComponent* root) {
  Owned<TStringStream> s(New<TStringStream>());
  {
    Owned<TWriter> w(New<TWriter>(s.get()));
    w->WriteRootComponent(root);
  }
  return s->GetDataString();
}

void ReadForm(const std::string& text, TComponent* root) {
  Owned<TStringStream> s(New<TStringStream>(text));
  Owned<TReader> r(New<TReader>(s.get()));
  r->ReadRootComponent(root);
}
