// The launching side of the main form: the launch buttons, the link, the
// minimise and exit buttons.
#include "app/FrmMain.h"

#include "app/perivane.h"
#include "classlib/IniFiles.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "skin/pkImgBtn.h"

namespace {

// ShellExecuteA's result: above 32 is success.
bool Opened(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// The menu's one way into the shell: "OPEN", no folder, shown normally.
// A name of MAX_PATH characters or more names no file the ANSI calls can
// reach, and Wine's ShellExecuteA overruns a buffer of its own on a file name
// of about 1,000 characters (a fault in the shell; at a few thousand the
// process ends without a word). Such a name is refused here as the shell
// refuses a file it cannot find.
HINSTANCE ShellOpen(HWND window, const std::string& file, const char* parameters) {
  if (file.size() >= MAX_PATH) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
  return Seams().ShellExecute(window, "OPEN", file.c_str(), parameters, nullptr, SW_SHOWNORMAL);
}

}  // namespace

std::string ResolveCommand(const std::string& command, const std::string& exeDir, int languageIndex,
                           const std::string& langPath, const std::string& defaultLang) {
  if (command.empty() || command[0] != '+') return exeDir + command;
  std::string folder;
  if (languageIndex != -1) folder = langPath + "\\";
  else if (!defaultLang.empty()) folder = defaultLang + "\\";
  return exeDir + folder + command.substr(1);
}

void TFormMain::LaunchButtonCommand(int index) {
  TpkImageBtn* button = LaunchButton(index);
  const std::string path = ResolveCommand(BtnCmd[index], ExeDir, LanguageIndex, LangPath, DefaultLang);
  if (!FileExists(path)) {
    button->SetShowHint(true);
    return;
  }
  // The current folder stays there after the launch: the document's program
  // starts in it.
  ChDir(ExtractFileDir(path));
  if (Opened(ShellOpen(GetHandle(), path, nullptr))) {
    button->SetShowHint(false);
    return;
  }
  // No program for the document's type: the disc's viewer, given the path.
  bool viewed = false;
  if (!ViewerPath.empty()) {
    const std::string quoted = "\"" + path + "\"";
    viewed = Opened(ShellOpen(GetHandle(), ViewerPath, quoted.c_str()));
  }
  button->SetShowHint(!viewed);
}

void TFormMain::pkImageBtn3Click(TObject*) { LaunchButtonCommand(0); }

void TFormMain::pkImageBtn4Click(TObject*) { LaunchButtonCommand(1); }

void TFormMain::pkImageBtn5Click(TObject*) {
  if (LanguageIndex == -1) return;
  std::string command;
  {
    Owned<TIniFile> ini = MakeOwned<TIniFile>(DiscPath(IniFileName));
    command = ini->ReadString("PRODUCT1", "BTNCMD3Language" + IntToStr(LanguageIndex + 1), "");
  }
  // Passed on as it stands: no ExeDir, no existence test, result unread.
  ShellOpen(GetHandle(), command, nullptr);
}

// The label opens its URL itself, once per click, and marks it visited;
// opening it here too would open the page twice.
void TFormMain::KxURLLabel1Click(TObject*) {}

void TFormMain::pkImageBtnMinClick(TObject*) { SendMessageA(GetHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void TFormMain::pkImageBtnExitClick(TObject*) { Close(); }
